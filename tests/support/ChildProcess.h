// A child process that a test runs and kills: it reports numbers on its standard output,
// one a line, which the test reads without blocking.
//
//   testsupport::ChildProcess child(program, {"guests", dir});
//   std::vector<qint64> reports;
//   child.readNumbers(reports);
//   const int status = child.kill();   // SIGKILL, then reaped
#pragma once

#include <QByteArray>
#include <QList>

#include <sys/types.h>

#include <vector>

namespace testsupport {

class ChildProcess {
public:
    ChildProcess(const QByteArray& program, const QList<QByteArray>& arguments);
    ~ChildProcess();  // kills and reaps a child still running
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return pid_ > 0; }
    // Appends every whole line written since the last call, read as a number.
    void readNumbers(std::vector<qint64>& numbers);
    // True once the child has ended by itself; status as waitpid() gives it.
    bool ended(int* status = nullptr);
    // Sends SIGKILL and waits for the child; returns its status (that of its own end when
    // it had ended already). What it wrote before stays readable.
    int kill();

private:
    pid_t pid_ = -1;
    int out_ = -1;
    bool reaped_ = false;
    int status_ = 0;
    QByteArray pending_;
};

}  // namespace testsupport
