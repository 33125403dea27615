// Turns SIGTERM, SIGINT and SIGHUP into an orderly close of every window: a running display
// ends and the port is put back as it was found, even when the desktop session ends or the
// program is stopped from a shell.
#pragma once

#include <QObject>

class QSocketNotifier;

class TerminationSignals : public QObject {
    Q_OBJECT
public:
    TerminationSignals();
    ~TerminationSignals() override;
    // Whether a termination signal has arrived.
    bool Received() const { return received_; }

private:
    void Handle();

    QSocketNotifier* notifier_ = nullptr;
    bool received_ = false;
};
