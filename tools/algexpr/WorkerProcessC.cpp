// SPDX-License-Identifier: MIT
#include "WorkerProcessC.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <new>

#include "WorkerProtocolC.h"

namespace qorv::math::algexpr::cli {

namespace {

[[noreturn]] void outOfMemory() { ::_exit(WorkerProtocolC::kExitOutOfMemory); }

// In the child, before the body: nothing of the tool's own output, and an
// end with the tool.
void becomeWorker(pid_t parent) {
#ifdef __linux__
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
#endif
    if (::getppid() != parent) {
        ::_exit(WorkerProtocolC::kExitDone);  // the tool ended before the line above took effect
    }
    const int null = ::open("/dev/null", O_RDWR);
    if (null >= 0) {
        ::dup2(null, STDIN_FILENO);
        ::dup2(null, STDOUT_FILENO);
        if (null > STDERR_FILENO) {
            ::close(null);
        }
    }
    std::set_new_handler(outOfMemory);
}

[[noreturn]] void runChild(int fd, pid_t parent, WorkerProcessC::BodyF body, void* context) {
    int status = WorkerProtocolC::kExitFailed;
    try {
        becomeWorker(parent);
        status = body(fd, context);
    } catch (const std::bad_alloc&) {
        status = WorkerProtocolC::kExitOutOfMemory;
    } catch (...) {
    }
    ::_exit(status);
}

}  // namespace

WorkerProcessC::~WorkerProcessC() {
    if (running()) {
        kill();
        reap();
    }
}

bool WorkerProcessC::start(BodyF body, void* context, std::string& problem) {
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) {
        problem = std::string("cannot make a socket for the worker process: ") + std::strerror(errno);
        return false;
    }
    std::fflush(nullptr);  // nothing buffered twice
    const pid_t parent = ::getpid();
    const pid_t child = ::fork();
    if (child < 0) {
        problem = std::string("cannot start the worker process: ") + std::strerror(errno);
        ::close(ends[0]);
        ::close(ends[1]);
        return false;
    }
    if (child == 0) {
        ::close(ends[0]);
        runChild(ends[1], parent, body, context);
    }
    ::close(ends[1]);
    ::fcntl(ends[0], F_SETFL, ::fcntl(ends[0], F_GETFL) | O_NONBLOCK);
    pid = child;
    socket_fd = ends[0];
    return true;
}

bool WorkerProcessC::running() const { return pid > 0; }

int WorkerProcessC::fd() const { return socket_fd; }

void WorkerProcessC::kill() {
    if (running()) {
        ::kill(pid, SIGKILL);
    }
}

WorkerProcessC::EndS WorkerProcessC::reap() {
    EndS end;
    if (socket_fd >= 0) {
        ::close(socket_fd);
        socket_fd = -1;
    }
    if (!running()) {
        return end;
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    pid = -1;
    end.signaled = WIFSIGNALED(status);
    end.code = end.signaled ? WTERMSIG(status) : WEXITSTATUS(status);
    return end;
}

}  // namespace qorv::math::algexpr::cli
