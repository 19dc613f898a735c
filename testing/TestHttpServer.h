// Test support: a small HTTP server on 127.0.0.1 and a port the system picks, run by the test
// itself on a thread of its own, that answers each path with a reply the test set up, faults
// included: no Content-Length, a length larger than the body (then the connection closes), a
// smaller one, a length that is no number, any status, extra headers (a Location), a slow body
// that holds after its first blocks until released or the server stops, a reply dripped a byte
// at a time, a body of many megabytes made on the fly, and raw bytes with no HTTP head at all
// (an HTTP/0.9 reply, another protocol's banner). Link ws2_32.
#pragma once

#include <winsock2.h>
#include <ws2tcpip.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct TTestReply {
    enum TLength { Exact, NoLength, Larger, Smaller, NotANumber };
    int Status = 200;
    std::string Body;
    TLength Length = Exact;
    std::string Headers;  // extra header lines, each ending in \r\n
    bool Slow = false;    // send the head and 2 KiB, then wait for Release() or the end
    int DripMs = 0;       // send head and body one byte each DripMs milliseconds
    bool Raw = false;     // send Body as it is, without a head
    size_t FillerBytes = 0;  // a body of this many bytes instead of Body, made as it is sent

    static TTestReply Page(std::string body, TLength length = Exact) {
        TTestReply r;
        r.Body = std::move(body);
        r.Length = length;
        return r;
    }
    static TTestReply WithStatus(int status, std::string body) {
        TTestReply r;
        r.Status = status;
        r.Body = std::move(body);
        return r;
    }
    static TTestReply RawBytes(std::string bytes) {
        TTestReply r;
        r.Raw = true;
        r.Body = std::move(bytes);
        return r;
    }
    static TTestReply Dripping(std::string body, int ms) {
        TTestReply r = Page(std::move(body));
        r.DripMs = ms;
        return r;
    }
    static TTestReply Redirect(const std::string& location) {
        TTestReply r;
        r.Status = 302;
        r.Body = "moved";
        r.Headers = "Location: " + location + "\r\n";
        return r;
    }
};

class TTestHttpServer {
public:
    TTestHttpServer() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = 0;
        bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof(address));
        int size = sizeof(address);
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size);
        port_ = ntohs(address.sin_port);
        listen(listener_, 8);
        thread_ = std::thread([this] { Run(); });
    }
    ~TTestHttpServer() {
        stop_ = true;
        Release();
        thread_.join();
        closesocket(listener_);
        WSACleanup();
    }
    TTestHttpServer(const TTestHttpServer&) = delete;
    TTestHttpServer& operator=(const TTestHttpServer&) = delete;

    unsigned short Port() const { return port_; }
    std::wstring Host() const { return L"127.0.0.1"; }
    // "http://127.0.0.1" (the port goes separately, as the component takes it).
    std::wstring Url(const std::string& path) const { return L"http://127.0.0.1" + std::wstring(path.begin(), path.end()); }

    void Set(const std::string& path, TTestReply reply) {
        std::lock_guard<std::mutex> lock(mutex_);
        replies_[path] = std::move(reply);
    }
    // Paths requested so far, in order.
    std::vector<std::string> Requests() {
        std::lock_guard<std::mutex> lock(mutex_);
        return requests_;
    }
    int RequestCount(const std::string& path) {
        int n = 0;
        for (const std::string& r : Requests()) n += r == path;
        return n;
    }
    // Lets a slow body go on.
    void Release() {
        std::lock_guard<std::mutex> lock(mutex_);
        released_ = true;
        wake_.notify_all();
    }
    // Ends a dripping reply: the connection closes, as when a server gives up.
    void EndDrip() {
        std::lock_guard<std::mutex> lock(mutex_);
        dripEnded_ = true;
        wake_.notify_all();
    }
    // Whether a reply is being dripped now.
    bool Dripping() const { return dripping_; }
    // Whether a slow body has sent its first part and waits.
    bool SlowHolding() const { return holding_; }

    // A port on 127.0.0.1 where nothing listens (taken, then given back).
    static unsigned short RefusedPort() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(s, reinterpret_cast<sockaddr*>(&address), sizeof(address));
        int size = sizeof(address);
        getsockname(s, reinterpret_cast<sockaddr*>(&address), &size);
        closesocket(s);
        WSACleanup();
        return ntohs(address.sin_port);
    }

private:
    void Run() {
        while (!stop_) {
            fd_set set;
            FD_ZERO(&set);
            FD_SET(listener_, &set);
            timeval wait{0, 50000};
            if (select(0, &set, nullptr, nullptr, &wait) <= 0) continue;
            SOCKET client = accept(listener_, nullptr, nullptr);
            if (client == INVALID_SOCKET) continue;
            Serve(client);
            shutdown(client, SD_SEND);
            closesocket(client);
        }
    }

    static const char* Reason(int status) {
        switch (status) {
            case 200: return "OK";
            case 301: return "Moved Permanently";
            case 302: return "Found";
            case 307: return "Temporary Redirect";
            case 404: return "Not Found";
            case 500: return "Internal Server Error";
            default: return "Status";
        }
    }

    static bool SendAll(SOCKET s, const std::string& data) {
        size_t sent = 0;
        while (sent < data.size()) {
            const int n = send(s, data.data() + sent, static_cast<int>(data.size() - sent), 0);
            if (n <= 0) return false;
            sent += static_cast<size_t>(n);
        }
        return true;
    }

    void Serve(SOCKET client) {
        std::string request;
        char buffer[2048];
        while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
            const int n = recv(client, buffer, sizeof(buffer), 0);
            if (n <= 0) return;
            request.append(buffer, static_cast<size_t>(n));
        }
        const size_t start = request.find(' ');
        const size_t end = request.find(' ', start + 1);
        const std::string path = start == std::string::npos ? std::string() : request.substr(start + 1, end - start - 1);
        TTestReply reply;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            requests_.push_back(path);
            const auto found = replies_.find(path);
            reply = found != replies_.end() ? found->second : TTestReply::WithStatus(404, "<html>not found</html>");
            released_ = false;
            dripEnded_ = false;
        }
        if (reply.Raw) {
            SendAll(client, reply.Body);
            return;
        }
        const size_t bodySize = reply.FillerBytes > 0 ? reply.FillerBytes : reply.Body.size();
        std::string head = "HTTP/1.0 " + std::to_string(reply.Status) + " " + Reason(reply.Status) + "\r\n";
        switch (reply.Length) {
            case TTestReply::Exact: head += "Content-Length: " + std::to_string(bodySize) + "\r\n"; break;
            case TTestReply::NoLength: break;
            case TTestReply::Larger: head += "Content-Length: " + std::to_string(bodySize + 100) + "\r\n"; break;
            case TTestReply::Smaller: head += "Content-Length: " + std::to_string(bodySize / 2) + "\r\n"; break;
            case TTestReply::NotANumber: head += "Content-Length: twelve\r\n"; break;
        }
        head += reply.Headers + "Content-Type: text/html\r\nConnection: close\r\n\r\n";
        if (reply.FillerBytes > 0) {
            SendFiller(client, head, reply.FillerBytes);
            return;
        }
        if (reply.DripMs > 0) {
            Drip(client, head + reply.Body, reply.DripMs);
            return;
        }
        if (!reply.Slow) {
            SendAll(client, head + reply.Body);
            return;
        }
        const size_t first = std::min<size_t>(2048, reply.Body.size());
        if (!SendAll(client, head + reply.Body.substr(0, first))) return;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            holding_ = true;
            wake_.wait_for(lock, std::chrono::seconds(60), [this] { return released_ || stop_.load(); });
            holding_ = false;
        }
        if (!stop_) SendAll(client, reply.Body.substr(first));
    }

    // One byte at a time until all is sent, the client has gone or the server stops.
    void Drip(SOCKET client, const std::string& bytes, int ms) {
        dripping_ = true;
        for (char c : bytes) {
            if (!SendAll(client, std::string(1, c))) break;
            std::unique_lock<std::mutex> lock(mutex_);
            if (wake_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return stop_.load() || dripEnded_; })) break;
        }
        dripping_ = false;
    }

    void SendFiller(SOCKET client, const std::string& head, size_t size) {
        if (!SendAll(client, head)) return;
        const std::string chunk(64 * 1024, 'F');
        for (size_t sent = 0; sent < size && !stop_; sent += chunk.size())
            if (!SendAll(client, chunk.substr(0, std::min(chunk.size(), size - sent)))) return;
    }

    SOCKET listener_ = INVALID_SOCKET;
    unsigned short port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<bool> holding_{false};
    std::mutex mutex_;
    std::condition_variable wake_;
    bool released_ = false;
    bool dripEnded_ = false;
    std::atomic<bool> dripping_{false};
    std::map<std::string, TTestReply> replies_;
    std::vector<std::string> requests_;
    std::thread thread_;
};
