#pragma once

#include "lexicon/StyleBuilder.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace pelorin {

class Dictionary;

/// Builds a style on a thread of its own, so that the window that asked for it
/// stays responsive. The description and the book paths are copied in before the
/// thread starts and the thread reads nothing else but the dictionary; progress
/// and the end come back as signals on the owner's thread, and the result is
/// taken only after the thread has been joined.
class StyleBuildThread final : public QObject {
    Q_OBJECT

public:
    explicit StyleBuildThread(QObject* parent = nullptr);
    /// Cancels a build that still runs and waits for it.
    ~StyleBuildThread() override;

    /// Starts building; false when a build runs already or no thread can be made.
    /// The dictionary must not change until Finished.
    bool Start(const Dictionary& dictionary, std::string description, std::vector<std::string> books);
    /// Asks a running build to stop; Finished follows, with the status Cancelled
    /// unless the build had already ended.
    void Cancel() { cancel_.store(true); }
    bool Running() const { return thread_.joinable(); }
    /// The build's result, once Finished has been signalled.
    StyleBuildResult TakeResult();

Q_SIGNALS:
    /// Before each book, and once all are read.
    void Progress(int booksDone, int bookCount, const QString& book);
    void Finished();

private:
    void Join();

    std::atomic<bool> cancel_{false};
    // Written by the thread, read only after it was joined.
    StyleBuildResult result_;
    std::thread thread_;
};

} // namespace pelorin
