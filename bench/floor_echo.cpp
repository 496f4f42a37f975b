// The floor of the tool's CPU time per message: a blocking stop-and-wait loop
// over loopback TCP with TCP_NODELAY, as the upgrade's exchange is (a 37-byte
// packet out, a 7-byte acknowledgement back), against an echo peer in a child
// process. Only this process's CPU time is counted, as only the tool's is.
//
//   floor_echo [--messages N] [--runs R]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kPacketBytes = 37;
constexpr int kReplyBytes = 7;

bool readExactly(int fd, char* buffer, int length)
{
    int got = 0;
    while (got < length) {
        const ssize_t n = read(fd, buffer + got, size_t(length - got));
        if (n <= 0)
            return false;
        got += int(n);
    }
    return true;
}

void noDelay(int fd)
{
    const int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
}

[[noreturn]] void echoPeer(int listener)
{
    const int fd = accept(listener, nullptr, nullptr);
    noDelay(fd);
    char packet[kPacketBytes];
    const unsigned char reply[kReplyBytes] = { 0x20, 0x90, 0x00, 0, 0, 0, 0 };
    while (readExactly(fd, packet, kPacketBytes))
        if (write(fd, reply, sizeof reply) != ssize_t(sizeof reply))
            break;
    _exit(0);
}

double selfCpuSeconds()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// CPU microseconds per message of one loop of `messages` exchanges; negative on failure.
double runOnce(int messages)
{
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(listener, 1) != 0
        || getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return -1;
    const pid_t peer = fork();
    if (peer == 0)
        echoPeer(listener);
    close(listener);
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        return -1;
    noDelay(fd);
    char packet[kPacketBytes];
    std::memset(packet, 0x5A, sizeof packet);
    char reply[kReplyBytes];
    const double before = selfCpuSeconds();
    bool ok = true;
    for (int i = 0; i < messages && ok; ++i)
        ok = write(fd, packet, sizeof packet) == ssize_t(sizeof packet) && readExactly(fd, reply, kReplyBytes);
    const double cpu = selfCpuSeconds() - before;
    close(fd);
    waitpid(peer, nullptr, 0);
    return ok ? cpu / messages * 1e6 : -1;
}

} // namespace

int main(int argc, char** argv)
{
    int messages = 4875; // a three-image run of the benchmark's images
    int runs = 5;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--messages") == 0)
            messages = std::max(1, std::atoi(argv[i + 1]));
        else if (std::strcmp(argv[i], "--runs") == 0)
            runs = std::max(1, std::atoi(argv[i + 1]));
    }
    // Where the two processes run decides how much a wake-up costs (the same
    // core hands over directly, another one is woken); the median of a few
    // loops is the figure.
    std::vector<double> perMessage;
    for (int i = 0; i < runs; ++i) {
        perMessage.push_back(runOnce(messages));
        if (perMessage.back() < 0) {
            std::fprintf(stderr, "floor_echo: the loopback exchange failed\n");
            return 1;
        }
        std::printf("floor-echo-run-cpu-us: %.2f\n", perMessage.back());
    }
    std::sort(perMessage.begin(), perMessage.end());
    std::printf("floor-echo-cpu-us: %.2f\n", perMessage[perMessage.size() / 2]);
    return 0;
}
