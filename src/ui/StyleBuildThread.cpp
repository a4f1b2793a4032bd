#include "ui/StyleBuildThread.h"

#include "app/TextConvert.h"
#include "lexicon/Style.h"

#include <system_error>

namespace pelorin {

StyleBuildThread::StyleBuildThread(QObject* parent) : QObject(parent) {}

StyleBuildThread::~StyleBuildThread()
{
    Cancel();
    Join();
}

bool StyleBuildThread::Start(const Dictionary& dictionary, std::string description, std::vector<std::string> books)
{
    if (Running())
        return false;
    cancel_.store(false);
    result_ = {};
    auto run = [this, &dictionary, description = std::move(description), books = std::move(books)] {
        // Each report is queued to the owner's thread; the scanner goes on at once.
        auto progress = [this](const StyleBuildProgress& step) {
            const int done = step.booksDone;
            const int count = step.bookCount;
            const QString book = ToWide(step.book);
            QMetaObject::invokeMethod(
                this, [this, done, count, book] { Q_EMIT Progress(done, count, book); }, Qt::QueuedConnection);
        };
        result_ = BuildStyle(dictionary, description, books, progress, &cancel_);
        // The thread's last act: the owner joins it before it reads the result.
        QMetaObject::invokeMethod(
            this,
            [this] {
                Join();
                Q_EMIT Finished();
            },
            Qt::QueuedConnection);
    };
    // Making a thread reports failure only by exception.
    try {
        thread_ = std::thread(std::move(run));
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

StyleBuildResult StyleBuildThread::TakeResult()
{
    Join();
    return std::move(result_);
}

void StyleBuildThread::Join()
{
    if (thread_.joinable())
        thread_.join();
}

} // namespace pelorin
