#include "ui/kit/WindowKit.h"

#include "ui/FirstDialog.h"
#include "ui/StartDialog.h"

#include <QTimer>

namespace pelorin {

class FirstRunTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The splash starts the load once it is drawn, and closes itself when it is done.
    void splashRunsTheLoadAndClosesItself()
    {
        test::WindowRig rig;
        AppData app(rig.root.Root());
        {
            StartDialog splash(app);
            QCOMPARE(app.splash, &splash);
            QCOMPARE(splash.exec(), int(QDialog::Accepted));
            QCOMPARE(app.splash, nullptr);
        }
        QVERIFY(app.Lexicon().Count() > 0);
    }

    // The first run offers the tutorial before the game starts (the settings tell a first run once).
    void firstRunWindowShowsOnce()
    {
        const test::TestSettings settings(true);
        int offered = 0;
        QTimer closer;
        connect(&closer, &QTimer::timeout, [&] {
            if (auto* dialog = qobject_cast<FirstDialog*>(QApplication::activeModalWidget())) {
                ++offered;
                test::ButtonOf(*dialog, QStringLiteral("Close"))->click();
            }
        });
        closer.start(10);
        test::WindowRig first;
        QVERIFY(first.Start());
        QCOMPARE(offered, 1);
        QVERIFY(test::OpenWindows<HelpWindow>().isEmpty());
    }

    // Escape, like the close box, rejects the window: it closes and opens the tutorial.
    void escapeOpensTheTutorial()
    {
        FirstDialog dialog(nullptr);
        dialog.show();
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
        const QList<HelpWindow*> help = test::OpenWindows<HelpWindow>();
        QCOMPARE(help.size(), 1);
        QCOMPARE(help[0]->Page().fileName(), QStringLiteral("tutorial.htm"));
    }
};

} // namespace pelorin

QTEST_MAIN(pelorin::FirstRunTest)
#include "FirstRunTest.moc"
