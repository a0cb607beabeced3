// A small HTTP/1.1 server on 127.0.0.1 for the download tests: fixed answers per
// path, slow answers, answers cut off in the middle, redirects. Connections are kept
// alive as a real server would; each is served on its own thread. Header-only, so the
// benchmarks use it too.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct AHttpAnswer {
    int status = 200;
    std::string body;
    std::string location;            // a Location header, for redirects
    std::size_t chunkSize = 0;       // with a pause: the body in pieces of this size
    std::chrono::milliseconds pause{0};
    bool closeMidBody = false;       // announces the whole body, sends half, hangs up
    bool hang = false;               // sends the headers and then nothing at all
};

class ALocalHttpServer {
public:
    ALocalHttpServer();
    ~ALocalHttpServer();
    ALocalHttpServer(const ALocalHttpServer&) = delete;
    ALocalHttpServer& operator=(const ALocalHttpServer&) = delete;

    bool Listening() const { return listener_ >= 0; }
    std::uint16_t Port() const { return port_; }
    std::string Host() const { return "127.0.0.1:" + std::to_string(port_); }

    // Unknown paths answer 404.
    void Answer(const std::string& path, AHttpAnswer answer);

    std::size_t RequestCount() const;
    std::vector<std::string> RequestedPaths() const;
    // The header lines of the last request, lower-cased names.
    std::map<std::string, std::string> LastHeaders() const;
    // The most requests that were being answered at one time.
    std::size_t MaxConcurrent() const;

    // A port on 127.0.0.1 where nothing listens.
    static std::uint16_t UnusedPort();

private:
    void AcceptLoop();
    void Serve(int connection);
    bool Respond(int connection, const std::string& path);

    int listener_ = -1;
    std::uint16_t port_ = 0;
    std::atomic<bool> stopping_{false};
    std::thread acceptThread_;

    mutable std::mutex mutex_;
    std::map<std::string, AHttpAnswer> answers_;
    std::vector<std::string> paths_;
    std::map<std::string, std::string> lastHeaders_;
    std::size_t answering_ = 0;
    std::size_t maxAnswering_ = 0;
    std::vector<int> connections_;
    std::vector<std::thread> servers_;
};

namespace LocalHttp {

inline int ListenOnLoopback(std::uint16_t& port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    const int yes = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(fd, 64) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::close(fd);
        return -1;
    }
    port = ntohs(address.sin_port);
    return fd;
}

inline bool SendAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t sent = ::send(fd, data, size, MSG_NOSIGNAL);
        if (sent <= 0)
            return false;
        data += sent;
        size -= static_cast<std::size_t>(sent);
    }
    return true;
}

inline std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

}  // namespace LocalHttp

inline ALocalHttpServer::ALocalHttpServer()
{
    listener_ = LocalHttp::ListenOnLoopback(port_);
    if (listener_ >= 0)
        acceptThread_ = std::thread(&ALocalHttpServer::AcceptLoop, this);
}

inline ALocalHttpServer::~ALocalHttpServer()
{
    stopping_ = true;
    if (acceptThread_.joinable())
        acceptThread_.join();
    {
        std::lock_guard lock(mutex_);
        for (int connection : connections_)
            ::shutdown(connection, SHUT_RDWR);
    }
    for (std::thread& server : servers_)
        server.join();
    for (int connection : connections_)
        ::close(connection);
    if (listener_ >= 0)
        ::close(listener_);
}

inline std::uint16_t ALocalHttpServer::UnusedPort()
{
    std::uint16_t port = 0;
    const int fd = LocalHttp::ListenOnLoopback(port);
    if (fd >= 0)
        ::close(fd);
    return port;
}

inline void ALocalHttpServer::Answer(const std::string& path, AHttpAnswer answer)
{
    std::lock_guard lock(mutex_);
    answers_[path] = std::move(answer);
}

inline std::size_t ALocalHttpServer::RequestCount() const
{
    std::lock_guard lock(mutex_);
    return paths_.size();
}

inline std::vector<std::string> ALocalHttpServer::RequestedPaths() const
{
    std::lock_guard lock(mutex_);
    return paths_;
}

inline std::size_t ALocalHttpServer::MaxConcurrent() const
{
    std::lock_guard lock(mutex_);
    return maxAnswering_;
}

inline std::map<std::string, std::string> ALocalHttpServer::LastHeaders() const
{
    std::lock_guard lock(mutex_);
    return lastHeaders_;
}

inline void ALocalHttpServer::AcceptLoop()
{
    while (!stopping_) {
        pollfd waiting = {listener_, POLLIN, 0};
        if (::poll(&waiting, 1, 20) <= 0)
            continue;
        const int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0)
            continue;
        const int yes = 1;
        ::setsockopt(connection, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
        std::lock_guard lock(mutex_);
        connections_.push_back(connection);
        servers_.emplace_back(&ALocalHttpServer::Serve, this, connection);
    }
}

inline void ALocalHttpServer::Serve(int connection)
{
    std::string pending;
    char buffer[4096];
    for (;;) {
        std::size_t end;
        while ((end = pending.find("\r\n\r\n")) == std::string::npos) {
            const ssize_t got = ::recv(connection, buffer, sizeof buffer, 0);
            if (got <= 0 || stopping_)
                return;  // the socket stays open until the server ends: shutdown needs it
            pending.append(buffer, static_cast<std::size_t>(got));
        }
        const std::string head = pending.substr(0, end);
        pending.erase(0, end + 4);
        const std::size_t pathStart = head.find(' ') + 1;
        const std::string path = head.substr(pathStart, head.find(' ', pathStart) - pathStart);
        std::map<std::string, std::string> headers;
        for (std::size_t line = head.find("\r\n"); line != std::string::npos;) {
            const std::size_t next = head.find("\r\n", line + 2);
            const std::string text = head.substr(line + 2, next == std::string::npos ? next : next - line - 2);
            const std::size_t colon = text.find(':');
            if (colon != std::string::npos)
                headers[LocalHttp::Lower(text.substr(0, colon))] = text.substr(text.find_first_not_of(' ', colon + 1));
            line = next;
        }
        {
            std::lock_guard lock(mutex_);
            paths_.push_back(path);
            lastHeaders_ = headers;
            maxAnswering_ = std::max(maxAnswering_, ++answering_);
        }
        const bool keepOpen = Respond(connection, path);
        {
            std::lock_guard lock(mutex_);
            --answering_;
        }
        if (!keepOpen)
            return;
    }
}

inline bool ALocalHttpServer::Respond(int connection, const std::string& path)
{
    AHttpAnswer answer;
    {
        std::lock_guard lock(mutex_);
        const auto at = answers_.find(path);
        if (at != answers_.end())
            answer = at->second;
        else
            answer = {404, "not here"};
    }
    std::string head = "HTTP/1.1 " + std::to_string(answer.status) + " Answer\r\nContent-Length: " +
                       std::to_string(answer.body.size()) + "\r\n";
    if (!answer.location.empty())
        head += "Location: " + answer.location + "\r\n";
    head += "\r\n";
    // An answer sent whole goes in one piece: a head and a body in two small writes
    // would wait for the client's delayed acknowledgement.
    const bool whole = !answer.hang && !answer.closeMidBody && answer.chunkSize == 0;
    if (whole)
        return LocalHttp::SendAll(connection, (head + answer.body).data(), head.size() + answer.body.size());
    if (!LocalHttp::SendAll(connection, head.data(), head.size()))
        return false;
    if (answer.hang) {
        while (!stopping_)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return false;
    }
    if (answer.closeMidBody) {
        LocalHttp::SendAll(connection, answer.body.data(), answer.body.size() / 2);
        ::shutdown(connection, SHUT_RDWR);
        return false;
    }
    const std::size_t chunk = answer.chunkSize ? answer.chunkSize : std::max<std::size_t>(answer.body.size(), 1);
    for (std::size_t at = 0; at < answer.body.size(); at += chunk) {
        if (at > 0 && answer.pause.count() > 0)
            std::this_thread::sleep_for(answer.pause);
        if (!LocalHttp::SendAll(connection, answer.body.data() + at, std::min(chunk, answer.body.size() - at)))
            return false;
    }
    return true;
}
