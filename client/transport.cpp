#include "client/transport.h"

#include <netinet/in.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstring>

#include "client/daemon_pid.h"
#include "client/eal_log.h"

namespace {

void PutLittleEndian32(uint8_t *out, uint32_t value) {
  out[0] = static_cast<uint8_t>(value);
  out[1] = static_cast<uint8_t>(value >> 8);
  out[2] = static_cast<uint8_t>(value >> 16);
  out[3] = static_cast<uint8_t>(value >> 24);
}

// Decoded from the bytes, so the result does not depend on the host's order.
uint32_t Get32(const uint8_t *in, int byte_order) {
  if (byte_order == kFrameLittleEndian) {
    return static_cast<uint32_t>(in[0]) | static_cast<uint32_t>(in[1]) << 8 | static_cast<uint32_t>(in[2]) << 16 |
           static_cast<uint32_t>(in[3]) << 24;
  }
  return static_cast<uint32_t>(in[3]) | static_cast<uint32_t>(in[2]) << 8 | static_cast<uint32_t>(in[1]) << 16 |
         static_cast<uint32_t>(in[0]) << 24;
}

}  // namespace

void PutFrameHeader(uint8_t header[kFrameHeaderSize], uint8_t type, uint32_t id, uint32_t length) {
  header[0] = type;
  header[1] = static_cast<uint8_t>(kFrameVersion << 4 | kFrameFlagLittleEndian);
  header[2] = 0;
  header[3] = 0;
  PutLittleEndian32(header + 4, id);
  PutLittleEndian32(header + 8, length);
}

cKvnStreamSock::~cKvnStreamSock() { CloseSocket(); }

bool cKvnStreamSock::OpenSocket(const KvnSocketAddress &address, bool log_errors) {
  if (!CloseSocket()) return false;
  fd_ = socket(address.family, address.type | SOCK_CLOEXEC, address.protocol);
  if (fd_ >= 0) return true;
  fd_ = -1;
  if (log_errors) {
    if (errno == EAFNOSUPPORT) {
      const char *name = address.family == AF_INET ? "IPv4" : address.family == AF_INET6 ? "IPv6" : "";
      eal_log(EAL_LOG_ERROR,
              "HPI transport: cannot create %s stream socket, address family is not supported on this "
              "platform.\n",
              name);
    } else {
      eal_log(EAL_LOG_ERROR, "HPI transport: cannot create stream socket.\n");
    }
  }
  return false;
}

bool cKvnStreamSock::CloseSocket() {
  if (fd_ < 0) return true;
  shutdown(fd_, SHUT_RDWR);
  const int rc = close(fd_);
  // Linux releases the descriptor even when close() reports an error, so it
  // is forgotten either way: closing the number again later could close a
  // descriptor that another thread has been handed in the meantime.
  fd_ = -1;
  if (rc != 0) {
    eal_log(EAL_LOG_ERROR, "HPI transport: cannot close stream socket.\n");
    return false;
  }
  return true;
}

bool cKvnStreamSock::SetTimeouts(int seconds) {
  const timeval limit{seconds, 0};
  return setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit) == 0 &&
         setsockopt(fd_, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit) == 0;
}

bool cKvnStreamSock::SendMessage(uint8_t type, uint32_t id, const void *payload, uint32_t length) {
  if (payload == nullptr && length != 0) return false;
  if (length > kFrameMaxPayload) {
    eal_log(EAL_LOG_ERROR, "HPI transport: message payload too large.\n");
    return false;
  }
  // Header and payload leave in one send() so that the daemon never sees a
  // header without its payload from a half-finished call.
  uint8_t message[kFrameMaxMessage + 1];
  PutFrameHeader(message, type, id, length);
  if (length != 0) std::memcpy(message + kFrameHeaderSize, payload, length);

  const size_t total = kFrameHeaderSize + length;
  ssize_t sent;
  do {
    // MSG_NOSIGNAL: a daemon that has gone away fails the send instead of
    // ending the whole program with SIGPIPE.
    sent = send(fd_, message, total, MSG_NOSIGNAL);
  } while (sent < 0 && errno == EINTR);
  if (sent < 0 || static_cast<size_t>(sent) != total) {
    eal_log(EAL_LOG_ERROR, "HPI transport: error while sending message.\n");
    return false;
  }
  return true;
}

bool cKvnStreamSock::ReceiveAll(uint8_t *buffer, uint32_t length) {
  uint32_t received = 0;
  while (received < length) {
    const ssize_t n = recv(fd_, buffer + received, length - received, 0);
    if (n < 0) {
      if (errno == EINTR) continue;
      eal_log(EAL_LOG_WARNING, "HPI transport: error (%d) while reading message.\n", errno);
      return false;
    }
    if (n == 0) {
      eal_log(EAL_LOG_VERBOSE, "HPI transport: peer closed connection.\n");
      return false;
    }
    received += static_cast<uint32_t>(n);
  }
  return true;
}

bool cKvnStreamSock::ReceiveMessage(uint8_t *type, uint32_t *id, void *payload, uint32_t capacity, uint32_t *length,
                                    int *byte_order) {
  uint8_t header[kFrameHeaderSize];
  if (!ReceiveAll(header, kFrameHeaderSize)) return false;

  const unsigned version = header[1] >> 4;
  if (version != kFrameVersion) {
    eal_log(EAL_LOG_ERROR, "HPI transport: unsupported version 0x%x != 0x%x.\n", version,
            static_cast<unsigned>(kFrameVersion));
    return false;
  }
  const int order = (header[1] & kFrameFlagLittleEndian) ? kFrameLittleEndian : kFrameBigEndian;
  const uint32_t announced = Get32(header + 8, order);
  // The length comes from the peer: never let it steer a write past the buffer.
  if (announced > capacity || (announced != 0 && payload == nullptr)) {
    eal_log(EAL_LOG_ERROR, "HPI transport: message payload of %u bytes exceeds the buffer of %u bytes.\n",
            static_cast<unsigned>(announced), static_cast<unsigned>(capacity));
    return false;
  }
  if (announced != 0 && !ReceiveAll(static_cast<uint8_t *>(payload), announced)) return false;

  *type = header[0];
  *id = Get32(header + 4, order);
  *length = announced;
  *byte_order = order;
  return true;
}

bool cKvnClientStreamSock::ConnectAddress(const KvnSocketAddress &address, bool log_errors) {
  if (!OpenSocket(address, log_errors)) return false;
  // Set before connecting: a Unix-domain connect to a full backlog waits
  // for as long as the send timeout allows.
  if (SetTimeouts(kDaemonIoTimeoutSeconds) &&
      connect(fd_, reinterpret_cast<const sockaddr *>(&address.address), address.length) == 0)
    return true;
  CloseSocket();
  if (log_errors) eal_log(EAL_LOG_ERROR, "HPI transport: connect failed.\n");
  return false;
}

bool cKvnClientStreamSock::ConnectUnix(const char *path) {
  KvnSocketAddress address{};
  address.family = AF_UNIX;
  address.type = SOCK_STREAM;
  address.protocol = 0;
  auto *unix_address = reinterpret_cast<sockaddr_un *>(&address.address);
  unix_address->sun_family = AF_UNIX;
  const size_t path_length = path != nullptr ? std::strlen(path) : 0;
  // An empty path would name the abstract namespace, a long one would not fit.
  if (path_length == 0 || path_length >= sizeof unix_address->sun_path) {
    eal_log(EAL_LOG_ERROR, "HPI transport: connect failed.\n");
    return false;
  }
  std::memcpy(unix_address->sun_path, path, path_length);
  address.length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + path_length);
  return ConnectAddress(address, true);
}

bool cKvnApiClientStreamSock::ConnectDaemon(const char *path) {
  if (!ConnectUnix(path)) return false;
  if (PeerIsController()) return true;
  CloseSocket();
  return false;
}

bool cKvnApiClientStreamSock::PeerIsController() const {
  // The credentials of the process that called listen(), kept by the kernel.
  ucred peer{};
  socklen_t size = sizeof peer;
  if (getsockopt(fd_, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0 || size != sizeof peer) {
    eal_log(EAL_LOG_ERROR, "HPI transport: cannot read the credentials of the daemon socket's peer.\n");
    return false;
  }
  if (peer.uid == 0) return true;
  pid_t daemon = 0;
  if (ReadDaemonPid(daemon) && peer.pid == daemon) return true;
  eal_log(EAL_LOG_ERROR,
          "HPI transport: daemon socket served by uid %u pid %d, not the controller; connection refused.\n",
          static_cast<unsigned>(peer.uid), static_cast<int>(peer.pid));
  return false;
}
