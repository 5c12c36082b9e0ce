// measure: runs one command with standard input and output on /dev/null and
// prints its wall-clock seconds, its CPU seconds (user and system), its peak
// resident memory in KiB, its exit status and its user CPU seconds alone. Standard error goes to ERROR-FILE, so the caller can show it when a
// run fails. Usage: measure ERROR-FILE COMMAND [ARGUMENT...]

#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

double seconds_now()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// In the child: connects the standard streams and replaces the process.
[[noreturn]] void run_child(const char *error_file, char **command)
{
    const int null_fd = open("/dev/null", O_RDWR);
    const int error_fd = open(error_file, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (null_fd < 0 || error_fd < 0 || dup2(null_fd, 0) < 0 || dup2(null_fd, 1) < 0 || dup2(error_fd, 2) < 0) {
        _exit(126);
    }
    execvp(command[0], command);
    std::perror(command[0]);
    _exit(127);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fputs("usage: measure ERROR-FILE COMMAND [ARGUMENT...]\n", stderr);
        return 2;
    }

    const double start = seconds_now();
    const pid_t child = fork();
    if (child < 0) {
        std::perror("fork");
        return 2;
    }
    if (child == 0) {
        run_child(argv[1], argv + 2);
    }

    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child) {
        std::perror("wait4");
        return 2;
    }
    const double elapsed = seconds_now() - start;
    const int exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);

    const double user = static_cast<double>(usage.ru_utime.tv_sec) + static_cast<double>(usage.ru_utime.tv_usec) * 1e-6;
    const double system = static_cast<double>(usage.ru_stime.tv_sec) + static_cast<double>(usage.ru_stime.tv_usec) * 1e-6;

    std::printf("%.6f %.6f %ld %d %.6f\n", elapsed, user + system, usage.ru_maxrss, exit_status, user);
    return 0;
}
