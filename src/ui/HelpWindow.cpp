#include "ui/HelpWindow.h"

#include "app/TextConvert.h"
#include "ui/Pictures.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace pelorin {

namespace {

constexpr std::string_view kTopicMark = "::";
// The page a help file opens on when no topic is named.
constexpr const char* kContentsPage = "contents.htm";
const QSize kHelpSize(680, 600);

// The one help window. It has no owner, so that it outlives the window that
// opened it; it goes with the application.
QPointer<HelpWindow>& TheHelpWindow()
{
    static QPointer<HelpWindow> window;
    return window;
}

void DeleteHelpWindow()
{
    delete TheHelpWindow().data();
}

// The resource path of a help file's page: ":/Mirel.chm/tutorial.htm".
QString PagePath(std::string_view file, std::string_view topic)
{
    while (topic.starts_with('/'))
        topic.remove_prefix(1);
    if (topic.empty())
        topic = kContentsPage;
    return QStringLiteral(":/") + ToWide(file) + QLatin1Char('/') + ToWide(topic);
}

} // namespace

HelpWindow::HelpWindow() : browser_(new QTextBrowser(this))
{
    setWindowTitle(QStringLiteral("Pelorin Help"));
    // The program ends with its main window, open help or not.
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowIcon(AppIcon());
    resize(kHelpSize);
    auto* contents = new QPushButton(QStringLiteral("&Contents"), this);
    auto* back = new QPushButton(QStringLiteral("&Back"), this);
    auto* forward = new QPushButton(QStringLiteral("&Forward"), this);
    back->setEnabled(false);
    forward->setEnabled(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(contents);
    buttons->addWidget(back);
    buttons->addWidget(forward);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(browser_);
    browser_->setOpenExternalLinks(true);
    connect(contents, &QPushButton::clicked, browser_, &QTextBrowser::home);
    connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, browser_, &QTextBrowser::forward);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);
    connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
        setWindowTitle(QStringLiteral("Pelorin Help - ") + browser_->documentTitle());
    });
}

void HelpWindow::Show(const QUrl& page)
{
    // The contents page is home, whichever page was opened first.
    if (browser_->source().isEmpty()) {
        QUrl contents = page;
        contents.setPath(QFileInfo(page.path()).path() + QLatin1Char('/') + QLatin1String(kContentsPage));
        browser_->setSource(contents);
    }
    if (browser_->source() != page)
        browser_->setSource(page);
    show();
    raise();
    activateWindow();
}

QUrl HelpWindow::Page() const
{
    return browser_->source();
}

HelpWindow* OpenHelp(std::string_view fileAndTopic)
{
    const size_t mark = fileAndTopic.find(kTopicMark);
    const std::string_view file = fileAndTopic.substr(0, mark);
    const std::string_view topic = mark == std::string_view::npos ? std::string_view() :
                                                                    fileAndTopic.substr(mark + kTopicMark.size());
    const QString path = PagePath(file, topic);
    if (!QFileInfo::exists(path))
        return nullptr;
    QPointer<HelpWindow>& window = TheHelpWindow();
    if (!window) {
        window = new HelpWindow;
        qAddPostRoutine(DeleteHelpWindow);
    }
    window->Show(QUrl(QStringLiteral("qrc") + path));
    return window;
}

} // namespace pelorin
