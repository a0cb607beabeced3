// A small HTTP/1.1 server on 127.0.0.1 for the download tests: fixed answers per
// path, slow answers, answers cut off in the middle, redirects. Connections are kept
// alive as a real server would; each is served on its own thread.
#pragma once

#include <atomic>
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
