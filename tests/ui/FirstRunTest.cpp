#include "ui/kit/WindowKit.h"

#include "app/Settings.h"
#include "ui/FirstDialog.h"
#include "ui/StartDialog.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace pelorin {

using test::OpenHelpWindow;

class FirstRunTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup()
    {
        if (HelpWindow* help = OpenHelpWindow())
            help->close();
    }
    void splashRunsTheLoadAndClosesItself();
    void firstRunWindowShowsOnce();
    void escapeAndTheCloseBoxOpenTheTutorial();
};

// The splash starts the load once it is drawn, and closes itself when it is done.
void FirstRunTest::splashRunsTheLoadAndClosesItself()
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
    QCOMPARE(app.Styles().Count(), 1);
}

// The first run offers the tutorial before the game starts; the next run does not.
void FirstRunTest::firstRunWindowShowsOnce()
{
    const test::TestSettings settings(true);
    test::WindowRig first;
    int offered = 0;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<FirstDialog*>(QApplication::activeModalWidget())) {
            ++offered;
            test::ButtonOf(*dialog, QStringLiteral("Close"))->click();
        }
    });
    closer.start(10);
    QVERIFY(first.Start());
    QCOMPARE(offered, 1);
    QVERIFY(!OpenHelpWindow());
    std::string firstCall;
    QVERIFY(Settings().ReadString("FirstCall", firstCall));
    QCOMPARE(firstCall, std::string("1"));

    test::WindowRig second;
    QVERIFY(second.Start());
    QCOMPARE(offered, 1);
}

void FirstRunTest::escapeAndTheCloseBoxOpenTheTutorial()
{
    for (const bool escape : {true, false}) {
        FirstDialog dialog(nullptr);
        dialog.show();
        if (escape)
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else
            dialog.close();
        QVERIFY(!dialog.isVisible());
        HelpWindow* help = OpenHelpWindow();
        QVERIFY(help);
        QCOMPARE(help->Page().fileName(), QStringLiteral("tutorial.htm"));
        help->close();
    }
}

} // namespace pelorin

QTEST_MAIN(pelorin::FirstRunTest)
#include "FirstRunTest.moc"
