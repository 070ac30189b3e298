#pragma once

#include "app/InstanceConnection.h"
#include "app/InstanceLock.h"
#include "platform/SocketPlaces.h"
#include "platform/UniqueFd.h"

#include <QObject>
#include <QSocketNotifier>
#include <QString>

#include <filesystem>
#include <memory>

namespace xk {

// One running program per person's folder (the folder of config.ini): the instance lock, and a
// socket in the user's socket folder named from the person's folder, found alike from every
// environment of the user. The first start holds both; a later start asks it to show and
// restore its window, then ends. A lock left by a crashed program is taken over.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // `candidates`: where the user's sockets may live.
    explicit SingleInstance(SocketFolderCandidates candidates = UserSocketFolderCandidates());
    ~SingleInstance() override;

    // True when this process is the first for `personFolder`: it then listens for later
    // starts. False when another instance holds the lock, or when the lock cannot be taken at
    // all (Failure).
    bool BecomeFirst(const std::filesystem::path& personFolder);
    // Why the lock could not be taken when no other instance holds it (permissions, a full
    // disk); empty otherwise.
    QString Failure() const { return failure_; }
    // Why the first process cannot be reached on its socket; empty while it listens.
    QString ListenFailure() const { return listenFailure_; }
    // Asks the first process to show its window; false, with the reason in `why`, when it
    // could not be reached.
    bool AskFirstToShow(QString* why = nullptr);
    // Answers the requests of xk-r40-ctl; until it is set they are refused.
    void SetRequestHandler(ControlRequestHandler handler);
    // The socket later starts and xk-r40-ctl connect to.
    const std::filesystem::path& SocketPath() const { return places_.socket.path; }

signals:
    void showRequested();

private:
    void Listen();
    void AcceptConnections();

    SocketFolderCandidates candidates_;
    InstancePlaces places_;
    InstanceLock lock_;
    QString failure_;
    QString listenFailure_;
    UniqueFd listening_;
    std::unique_ptr<QSocketNotifier> notifier_;
    bool acceptTroubleSaid_ = false;
    ControlRequestHandler requestHandler_;
};

} // namespace xk
