#pragma once

#include "app/InstanceConnection.h"

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

namespace xk {

inline constexpr const char* kInstanceName = "CNUV_DEvoraApp";

// One running program per user: a lock file and a local socket named "CNUV_DEvoraApp" in the
// user's runtime directory. The first start holds both; a later start asks it to show and
// restore its window, then ends. A lock left by a crashed program is taken over.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // `directory` holds the lock and the socket; empty for the user's runtime directory.
    explicit SingleInstance(QString directory = {});
    ~SingleInstance() override;

    // True when this process is the first: it then listens for later starts. False when
    // another instance holds the lock, or when the lock cannot be taken at all (Failure).
    bool BecomeFirst();
    // Why the lock could not be taken when no other instance holds it (permissions, a full
    // disk); empty otherwise.
    QString Failure() const { return failure_; }
    // Asks the first process to show its window; false when it could not be reached.
    bool AskFirstToShow();
    // Answers the requests of xk-r40-ctl; until it is set they are refused.
    void SetRequestHandler(ControlRequestHandler handler);

signals:
    void showRequested();

private:
    QString directory_;
    QString failure_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer server_;
    ControlRequestHandler requestHandler_;
};

} // namespace xk
