// Runs a program with an empty argument vector, so that it sees no
// invocation name: without_argv PROGRAM.
#include <cstdio>
#include <unistd.h>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fputs("usage: without_argv PROGRAM\n", stderr);
        return 2;
    }
    char *const no_arguments[] = {nullptr};
    char *const no_environment[] = {nullptr};
    execve(argv[1], no_arguments, no_environment);
    std::perror("execve");
    return 2;
}
