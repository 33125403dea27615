#include "TerminationSignals.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>
#include <cerrno>

#include <QSocketNotifier>

#include "Program.h"

namespace {

// The signal handler may only write to a descriptor; the event loop reads the other end.
int Pipe[2] = {-1, -1};
constexpr int Signals[] = {SIGTERM, SIGINT, SIGHUP};

void Note(int)
{
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = write(Pipe[1], &byte, 1);
    errno = saved;
}

}  // namespace

TerminationSignals::TerminationSignals()
{
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, Pipe) != 0) return;
    notifier_ = new QSocketNotifier(Pipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::Handle);
    struct sigaction action = {};
    action.sa_handler = Note;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int number : Signals) sigaction(number, &action, nullptr);
}

TerminationSignals::~TerminationSignals()
{
    for (int number : Signals) signal(number, SIG_DFL);
    for (int& end : Pipe) {
        if (end >= 0) close(end);
        end = -1;
    }
}

void TerminationSignals::Handle()
{
    char drained[16];
    while (read(Pipe[0], drained, sizeof drained) > 0) {
    }
    RequestStop();
}
