#include "tests/support/ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {

ChildProcess::ChildProcess(const QByteArray& program, const QList<QByteArray>& arguments)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return;
    // The argument list is built before fork(): the child may only call async-signal-safe
    // functions until it runs the program.
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.constData()));
    for (const QByteArray& a : arguments)
        argv.push_back(const_cast<char*>(a.constData()));
    argv.push_back(nullptr);
    pid_ = ::fork();
    if (pid_ == 0) {
        ::dup2(fds[1], 1);
        ::close(fds[0]);
        ::close(fds[1]);
        ::execv(program.constData(), argv.data());
        ::_exit(127);
    }
    ::close(fds[1]);
    if (pid_ < 0) {
        ::close(fds[0]);
        return;
    }
    out_ = fds[0];
    ::fcntl(out_, F_SETFL, O_NONBLOCK);
}

ChildProcess::~ChildProcess()
{
    if (started())
        kill();
    if (out_ >= 0)
        ::close(out_);
}

void ChildProcess::readNumbers(std::vector<qint64>& numbers)
{
    if (out_ < 0)
        return;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(out_, buffer, sizeof buffer);
        if (n <= 0)
            break;
        pending_.append(buffer, int(n));
    }
    qsizetype end;
    while ((end = pending_.indexOf('\n')) >= 0) {
        numbers.push_back(pending_.left(end).toLongLong());
        pending_.remove(0, end + 1);
    }
}

bool ChildProcess::ended(int* status)
{
    if (!reaped_ && started() && ::waitpid(pid_, &status_, WNOHANG) == pid_)
        reaped_ = true;
    if (status)
        *status = status_;
    return reaped_;
}

int ChildProcess::kill()
{
    if (!reaped_ && started()) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, &status_, 0);
        reaped_ = true;
    }
    return status_;
}

}  // namespace testsupport
