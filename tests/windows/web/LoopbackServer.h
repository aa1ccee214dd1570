#pragma once
// A small HTTP server on 127.0.0.1 and a port the system picks, run by a thread of the test
// program: it records every request as it arrived and answers each with the same response.

#include <winsock2.h>
#include <ws2tcpip.h>

#include <atomic>
#include <cctype>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

class LoopbackServer {
 public:
  struct Request {
    std::string RequestLine;
    std::map<std::string, std::string> Headers;  // names in lower case
  };

  LoopbackServer() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    FListener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    int length = sizeof address;
    if (FListener == INVALID_SOCKET ||
        bind(FListener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(FListener, 8) != 0 ||
        getsockname(FListener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
      throw std::runtime_error("loopback server: cannot listen, error " + std::to_string(WSAGetLastError()));
    FPort = ntohs(address.sin_port);
    FThread = std::thread([this] { Serve(); });
  }
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;
  ~LoopbackServer() {
    FStop = true;
    FThread.join();
    closesocket(FListener);
    WSACleanup();
  }

  std::string Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(FPort) + path;
  }

  void SetResponse(const std::string& status, const std::string& body,
                   const std::string& extraHeaders = "") {
    std::lock_guard<std::mutex> lock(FMutex);
    FResponse = "HTTP/1.1 " + status + "\r\nContent-Type: application/octet-stream\r\n" + extraHeaders +
                "Content-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
  }

  // While held, requests are recorded but not answered.
  void Hold(bool held) { FHeld = held; }

  std::vector<Request> Requests() const {
    std::lock_guard<std::mutex> lock(FMutex);
    return FRequests;
  }

 private:
  void Serve() {
    while (!FStop) {
      fd_set ready;
      FD_ZERO(&ready);
      FD_SET(FListener, &ready);
      timeval wait{0, 20000};
      if (select(0, &ready, nullptr, nullptr, &wait) <= 0) continue;
      SOCKET client = accept(FListener, nullptr, nullptr);
      if (client == INVALID_SOCKET) continue;
      Answer(client);
      closesocket(client);
    }
  }

  void Answer(SOCKET client) {
    std::string received;
    char buffer[2048];
    while (received.find("\r\n\r\n") == std::string::npos) {
      int count = recv(client, buffer, sizeof buffer, 0);
      if (count <= 0) return;
      received.append(buffer, static_cast<size_t>(count));
    }
    Request request;
    size_t lineEnd = received.find("\r\n");
    request.RequestLine = received.substr(0, lineEnd);
    size_t start = lineEnd + 2;
    while (true) {
      size_t end = received.find("\r\n", start);
      if (end == std::string::npos || end == start) break;
      std::string line = received.substr(start, end - start);
      size_t colon = line.find(':');
      if (colon != std::string::npos) {
        std::string name = line.substr(0, colon);
        for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        size_t value = line.find_first_not_of(' ', colon + 1);
        request.Headers[name] = value == std::string::npos ? "" : line.substr(value);
      }
      start = end + 2;
    }
    std::string response;
    {
      std::lock_guard<std::mutex> lock(FMutex);
      FRequests.push_back(request);
      response = FResponse;
    }
    while (FHeld && !FStop) Sleep(5);
    size_t sent = 0;
    while (sent < response.size()) {
      int count = send(client, response.data() + sent, static_cast<int>(response.size() - sent), 0);
      if (count <= 0) return;
      sent += static_cast<size_t>(count);
    }
    shutdown(client, SD_SEND);
  }

  SOCKET FListener = INVALID_SOCKET;
  int FPort = 0;
  std::atomic<bool> FStop{false};
  std::atomic<bool> FHeld{false};
  mutable std::mutex FMutex;
  std::vector<Request> FRequests;
  std::string FResponse = "HTTP/1.1 200 OK\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
  std::thread FThread;
};
