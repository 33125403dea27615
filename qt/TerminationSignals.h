// Turns SIGTERM, SIGINT and SIGHUP into the program's stop request (RequestStop): a running
// display ends, the port is put back as it was found, and the program ends without another box,
// even when the desktop session ends or the program is stopped from a shell. One signal is enough
// at any moment, a start-up box included.
#pragma once

#include <QObject>

class QSocketNotifier;

class TerminationSignals : public QObject {
    Q_OBJECT
public:
    TerminationSignals();
    ~TerminationSignals() override;

private:
    void Handle();

    QSocketNotifier* notifier_ = nullptr;
};
