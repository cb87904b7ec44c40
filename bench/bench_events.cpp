// The round trip of two processes signalling each other through two
// auto-reset Events, against a one-byte ping-pong through two pipes between
// the same two processes in the same run. (Linux: the benchmark forks.)
#include <algorithm>
#include <cstdio>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

#include "Measure.h"
#include "quen/windows/Event.h"

namespace {

const int rounds = 20000;
const int runs = 5;

void pipeRounds(int out, int in) {
    char byte = 'p';
    for (int i = 0; i < rounds; ++i) {
        if (write(out, &byte, 1) != 1 || read(in, &byte, 1) != 1) {
            std::perror("pipe");
            _exit(1);
        }
    }
}

}  // namespace

int main() {
    const std::string base = "bench" + std::to_string(static_cast<long>(getpid()));
    int toChild[2];
    int toParent[2];
    if (pipe(toChild) != 0 || pipe(toParent) != 0) {
        std::perror("pipe");
        return 1;
    }
    // Both processes open the events of their own: the parent first, so the
    // child's opens find them.
    quen::Event ping((base + "ping").c_str(), false, false);
    quen::Event pong((base + "pong").c_str(), false, false);
    const pid_t child = fork();
    if (child < 0) {
        std::perror("fork");
        return 1;
    }
    if (child == 0) {
        quen::Event childPing((base + "ping").c_str(), false, false);
        quen::Event childPong((base + "pong").c_str(), false, false);
        char byte = 0;
        for (int run = 0; run < runs; ++run) {
            for (int i = 0; i < rounds; ++i) {
                if (read(toChild[0], &byte, 1) != 1 || write(toParent[1], &byte, 1) != 1) {
                    _exit(1);
                }
            }
            for (int i = 0; i < rounds; ++i) {
                childPing.wait(-1);
                childPong.set();
            }
        }
        _exit(0);
    }

    double pipeBest = 1e300;
    double eventBest = 1e300;
    for (int run = 0; run < runs; ++run) {
        pipeBest = std::min(pipeBest, bench::bestSeconds(1, [&] { pipeRounds(toChild[1], toParent[0]); }));
        eventBest = std::min(eventBest, bench::bestSeconds(1, [&] {
                                 for (int i = 0; i < rounds; ++i) {
                                     ping.set();
                                     pong.wait(-1);
                                 }
                             }));
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::printf("the child process failed\n");
        return 1;
    }
    std::printf("%d round trips between two processes (goal: no slower than today, 1.06)\n", rounds);
    bench::report("Event set/wait ping-pong against pipes", eventBest, "pipe", pipeBest, 1.06);
    return 0;
}
