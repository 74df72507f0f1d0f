#include "LiveSource.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstring>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "Commands.h"
#include "base/HandOver.h"
#include "comm/LineAssembler.h"
#include "comm/LinkSource.h"
#include "comm/TComm.h"
#include "comm/TTCPIPClientThread.h"
#include "comm/UdpInput.h"

namespace norq::tool {

namespace {

using namespace std::chrono_literals;

// One live source: the link lives on a thread of its own, which plays the part
// of the window's thread, and writes every line it assembles into a pipe.
class LiveFeed final : private comm::LineAssembler::Sink {
  public:
    LiveFeed(const comm::LinkSource& source, double seconds, bool once)
        : source_(source), seconds_(seconds), once_(once) {}
    ~LiveFeed() { stop(); }

    // The read end of the pipe, or -1 when the source could not be opened.
    int start() {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0) return -1;
        out_ = fds[1];
        std::promise<bool> opened;
        std::future<bool> result = opened.get_future();
        thread_ = std::thread([this, &opened] { run(opened); });
        if (!result.get()) {
            ::close(fds[0]);
            thread_.join();
            return -1;
        }
        return fds[0];
    }

    void stop() {
        done_ = true;
        loop_.wake();
        if (thread_.joinable()) thread_.join();
    }

  private:
    void run(std::promise<bool>& opened) {
        const bool ok = open();
        opened.set_value(ok);
        if (ok) {
            const auto end = seconds_ > 0
                                 ? std::chrono::steady_clock::now() +
                                       std::chrono::duration_cast<std::chrono::nanoseconds>(
                                           std::chrono::duration<double>(seconds_))
                                 : std::chrono::steady_clock::time_point::max();
            while (!done_ && std::chrono::steady_clock::now() < end) {
                const auto left = end - std::chrono::steady_clock::now();
                loop_.runUntil([this] { return done_.load(); },
                               std::chrono::duration_cast<std::chrono::milliseconds>(
                                   std::min<std::chrono::steady_clock::duration>(left, 200ms)));
                if (tcpDown_ && !done_ && std::chrono::steady_clock::now() >= retryAt_) {
                    // The old link ended in its own handler; it is freed here.
                    tcpDown_ = false;
                    tcp_.reset();
                    lines_.clear();
                    openTcp();
                }
            }
        }
        // The links are closed on the thread that ran their handlers.
        serial_.reset();
        tcp_.reset();
        udp_.reset();
        if (out_ >= 0) ::close(out_);
        out_ = -1;
    }

    bool open() {
        switch (source_.kind) {
            case comm::LinkSource::Kind::Serial:
                return openSerial();
            case comm::LinkSource::Kind::Tcp:
                return openTcp();
            case comm::LinkSource::Kind::Udp:
                return openUdp();
        }
        return false;
    }

    bool openSerial() {
        serial_ = std::make_unique<comm::TComm>(loop_);
        serial_->SetDeviceName(source_.device);
        comm::TBaudRate rate{};
        if (source_.baud > 0 && comm::BaudRateFromValue(source_.baud, rate))
            serial_->SetBaudRate(rate);
        serial_->OnRxChar = [this](comm::TThreadComm& port, std::uint32_t count) {
            char buffer[5000];
            const int n = port.Read(buffer, static_cast<int>(std::min<std::uint32_t>(count, 4999)));
            if (n > 0) lines_.append({buffer, static_cast<std::size_t>(n)}, *this);
        };
        serial_->OnError = [this](comm::TThreadComm&, std::uint32_t errors) {
            if ((errors & comm::kCommErrorHangUp) == 0) return;
            std::fprintf(stderr, "norq-ais: %s: the line hung up\n", source_.device.c_str());
            finish();
        };
        try {
            serial_->Open();
        } catch (const comm::CommError& e) {
            std::fprintf(stderr, "norq-ais: %s: %s\n", source_.device.c_str(), e.what());
            return false;
        }
        if (!serial_->Connected()) {
            const int error = serial_->lastOpenError();
            std::fprintf(stderr, "norq-ais: cannot open %s: %s%s\n", source_.device.c_str(),
                         std::strerror(error),
                         error == EACCES ? " (add yourself to the group \"dialout\": sudo usermod "
                                           "-aG dialout $USER, then log in again)"
                                         : "");
            return false;
        }
        return true;
    }

    bool openTcp() {
        tcp_ = std::make_unique<comm::TTCPIPClientThread>(loop_);
        if (tcp_->SetHost(source_.host) < 0) {
            std::fprintf(stderr, "norq-ais: host name too long: %s\n", source_.host.c_str());
            return false;
        }
        tcp_->SetPort(source_.port);
        tcp_->OnDataReady = [this](comm::TTCPIPClientThread& link) {
            char buffer[comm::TTCPIPClientThread::kReceiveSize];
            const int n = link.ReceiveData(buffer);
            if (n > 0) lines_.append({buffer, static_cast<std::size_t>(n)}, *this);
        };
        tcp_->OnConnected = [this](comm::TTCPIPClientThread&) {
            if (everConnected_)
                std::fprintf(stderr, "norq-ais: tcp://%s:%d: connected again\n",
                             source_.host.c_str(), source_.port);
            everConnected_ = true;
            backoffSeconds_ = 1;
        };
        tcp_->OnDisconnected = [this](comm::TTCPIPClientThread& link) {
            const char* why =
                link.lastErrorText().empty() ? "disconnected" : link.lastErrorText().c_str();
            // A source that was never reached ends at once (a mistyped
            // address must not hang); one that was read from is waited for.
            if (once_ || !everConnected_) {
                std::fprintf(stderr, "norq-ais: tcp://%s:%d: %s\n", source_.host.c_str(),
                             source_.port, why);
                finish();
                return;
            }
            std::fprintf(stderr, "norq-ais: tcp://%s:%d: %s; trying again in %d s\n",
                         source_.host.c_str(), source_.port, why, backoffSeconds_);
            retryAt_ = std::chrono::steady_clock::now() + std::chrono::seconds(backoffSeconds_);
            backoffSeconds_ = std::min(backoffSeconds_ * 2, kMaxBackoffSeconds);
            tcpDown_ = true;
        };
        tcp_->Start();
        return true;
    }

    bool openUdp() {
        udp_ = std::make_unique<comm::TUdpListener>(loop_);
        udp_->OnDataReady = [this](comm::TUdpListener& listener) {
            for (std::string_view datagram = listener.ReceiveDatagram(); !datagram.empty();
                 datagram = listener.ReceiveDatagram()) {
                lines_.append(datagram, *this);
                lines_.endLine(*this);
            }
        };
        const comm::UdpEndpoint endpoint = comm::UdpEndpointOf(source_);
        if (!udp_->Open(endpoint)) {
            if (endpoint.group.empty()) {
                std::fprintf(stderr, "norq-ais: cannot listen on udp port %d: %s\n", source_.port,
                             udp_->lastErrorText().c_str());
            } else {
                std::fprintf(stderr, "norq-ais: cannot join %s port %d%s%s: %s\n",
                             endpoint.group.c_str(), source_.port,
                             endpoint.interfaceName.empty() ? "" : " on ",
                             endpoint.interfaceName.c_str(), udp_->lastErrorText().c_str());
            }
            return false;
        }
        return true;
    }

    void finish() {
        done_ = true;
        loop_.wake();
    }

    void onLineEnded(std::string_view, const comm::LineOrigin&) override {}
    void onSentenceLine(std::string_view line, const comm::LineOrigin&) override {
        // A reader that went away ends the feed.
        while (out_ >= 0 && !line.empty()) {
            const ssize_t n = ::write(out_, line.data(), line.size());
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                finish();
                return;
            }
            line.remove_prefix(static_cast<std::size_t>(n));
        }
    }

    static constexpr int kMaxBackoffSeconds = 30;

    comm::LinkSource source_;
    double seconds_;
    bool once_;
    bool everConnected_ = false;
    bool tcpDown_ = false;  // the link ended; a new one is made at retryAt_
    int backoffSeconds_ = 1;
    std::chrono::steady_clock::time_point retryAt_;
    base::EventLoop loop_;
    comm::LineAssembler lines_;
    std::unique_ptr<comm::TComm> serial_;
    std::unique_ptr<comm::TTCPIPClientThread> tcp_;
    std::unique_ptr<comm::TUdpListener> udp_;
    std::thread thread_;
    std::atomic<bool> done_{false};
    int out_ = -1;
};

// The tool's open feeds by their stream, and the --for of this run.
struct LiveFeeds {
    std::mutex mutex;
    std::map<std::FILE*, std::unique_ptr<LiveFeed>> feeds;
    double seconds = 0.0;
    bool once = false;
};

LiveFeeds& Feeds() {
    static LiveFeeds feeds;
    return feeds;
}

}  // namespace

bool TakeLiveOptions(std::vector<std::string_view>& args) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--once") {
            Feeds().once = true;
            args.erase(args.begin() + static_cast<std::ptrdiff_t>(i));
            --i;
            continue;
        }
        if (args[i] != "--for") continue;
        double seconds = 0.0;
        const std::string_view value = i + 1 < args.size() ? args[i + 1] : std::string_view();
        const auto [end, error] =
            std::from_chars(value.data(), value.data() + value.size(), seconds);
        if (value.empty() || error != std::errc() || end != value.data() + value.size() ||
            seconds <= 0.0) {
            std::fprintf(stderr, "norq-ais: --for needs a number of seconds\n");
            return false;
        }
        Feeds().seconds = seconds;
        args.erase(args.begin() + static_cast<std::ptrdiff_t>(i),
                   args.begin() + static_cast<std::ptrdiff_t>(i + 2));
        --i;
    }
    return true;
}

std::FILE* OpenLiveSource(std::string_view text) {
    comm::LinkSource source;
    std::string error;
    if (!comm::ParseLinkSource(text, source, error)) {
        std::fprintf(stderr, "norq-ais: %.*s: %s\n", static_cast<int>(text.size()), text.data(),
                     error.c_str());
        return nullptr;
    }
    // A reader that stops early must not kill the tool.
    ::signal(SIGPIPE, SIG_IGN);
    LiveFeeds& feeds = Feeds();
    auto feed = std::make_unique<LiveFeed>(source, feeds.seconds, feeds.once);
    const int fd = feed->start();
    if (fd < 0) return nullptr;
    std::FILE* stream = ::fdopen(fd, "rb");
    if (stream == nullptr) {
        ::close(fd);
        return nullptr;
    }
    std::lock_guard<std::mutex> guard(feeds.mutex);
    feeds.feeds[stream] = std::move(feed);
    return stream;
}

void CloseLiveSource(std::FILE* stream) {
    std::unique_ptr<LiveFeed> feed;
    {
        LiveFeeds& feeds = Feeds();
        std::lock_guard<std::mutex> guard(feeds.mutex);
        auto it = feeds.feeds.find(stream);
        if (it == feeds.feeds.end()) return;
        feed = std::move(it->second);
        feeds.feeds.erase(it);
    }
    // Closing the read end first lets a feed blocked on a full pipe go on.
    std::fclose(stream);
    feed->stop();
}

namespace {

// A device path names a serial line when it is a character device other than
// the memory devices (/dev/null, /dev/zero, ...); /dev/stdin on a pipe and the
// like are read as files.
bool NamesSerialLine(std::string_view text) {
    if (!text.starts_with("/dev/")) return true;
    std::string path(text.substr(0, text.rfind(':')));
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        path = std::string(text);
        if (::stat(path.c_str(), &st) != 0) return true;  // let the link say what is wrong
    }
    return S_ISCHR(st.st_mode) && major(st.st_rdev) != 1;
}

}  // namespace

// The input of a command: a file, standard input, or a live source.
std::FILE* OpenInput(Args args, std::size_t index) {
    if (args.size() <= index || args[index] == "-") return stdin;
    if (comm::IsLinkSource(args[index]) && NamesSerialLine(args[index])) {
        return OpenLiveSource(args[index]);
    }
    std::string path(args[index]);
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) std::fprintf(stderr, "norq-ais: cannot open %s\n", path.c_str());
    return f;
}

void CloseInput(std::FILE* file) {
    if (file == nullptr || file == stdin) return;
    {
        LiveFeeds& feeds = Feeds();
        std::lock_guard<std::mutex> guard(feeds.mutex);
        if (feeds.feeds.count(file) == 0) {
            std::fclose(file);
            return;
        }
    }
    CloseLiveSource(file);
}

}  // namespace norq::tool
