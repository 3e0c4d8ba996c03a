// Stream socket to the controller daemon and the framing of its messages:
// a 12-byte header followed by the payload.
//
//   offset 0  type      1 = RPC message
//   offset 1  flags     high nibble: protocol version (1); bit 0: sender's
//                       byte order, 1 = little-endian, 0 = big-endian
//   offset 2  reserved  two zero bytes
//   offset 4  id        RPC number, u32 in the sender's byte order
//   offset 8  length    payload bytes that follow, u32 in the sender's order
#pragma once

#include <sys/socket.h>

#include <cstdint>

inline constexpr uint32_t kFrameHeaderSize = 12;
inline constexpr uint32_t kFrameMaxMessage = 65535;
inline constexpr uint32_t kFrameMaxPayload = kFrameMaxMessage - kFrameHeaderSize;  // 65523
inline constexpr uint8_t kFrameTypeRpc = 1;
inline constexpr uint8_t kFrameVersion = 1;
inline constexpr uint8_t kFrameFlagLittleEndian = 0x01;

// Byte-order codes handed to the payload reader.
inline constexpr int kFrameLittleEndian = 1234;
inline constexpr int kFrameBigEndian = 4321;

// Writes the header of a frame in this host's (little-endian) order.
void PutFrameHeader(uint8_t header[kFrameHeaderSize], uint8_t type, uint32_t id, uint32_t length);

// Everything socket() and connect() need.
struct KvnSocketAddress {
  int family;
  int type;
  int protocol;
  sockaddr_storage address;
  socklen_t length;
};

// How long one send or receive on a daemon connection may wait (connect
// included): a daemon that accepts and never answers fails the call with
// SA_ERR_HPI_NO_RESPONSE instead of holding a worker for ever. A call fails
// after at most 64 s (connect, two reads and two retry pauses); the web
// server waits long enough for the few such calls one request can meet.
constexpr int kDaemonIoTimeoutSeconds = 20;

class cKvnStreamSock {
 public:
  cKvnStreamSock() = default;
  // Takes ownership of an already connected descriptor.
  explicit cKvnStreamSock(int descriptor) : fd_(descriptor) {}
  virtual ~cKvnStreamSock();
  cKvnStreamSock(const cKvnStreamSock &) = delete;
  cKvnStreamSock &operator=(const cKvnStreamSock &) = delete;

  int Descriptor() const { return fd_; }

  // Closes any open socket first, then creates a new one (close-on-exec).
  bool OpenSocket(const KvnSocketAddress &address, bool log_errors);
  // Shuts the socket down and closes it; true when none was open.
  bool CloseSocket();
  // Bounds every later send and receive (and a connect) to `seconds`; a
  // receive that times out is a failed read.
  bool SetTimeouts(int seconds);

  // One frame, header and payload in a single send(). At most
  // kFrameMaxPayload bytes of payload.
  bool SendMessage(uint8_t type, uint32_t id, const void *payload, uint32_t length);
  // One frame. The payload goes to `payload`, which holds `capacity` bytes;
  // a frame announcing more than that is a failed read. byte_order receives
  // kFrameLittleEndian or kFrameBigEndian for decoding the payload.
  bool ReceiveMessage(uint8_t *type, uint32_t *id, void *payload, uint32_t capacity, uint32_t *length, int *byte_order);

 protected:
  int fd_ = -1;

 private:
  bool ReceiveAll(uint8_t *buffer, uint32_t length);
};

class cKvnClientStreamSock : public cKvnStreamSock {
 public:
  using cKvnStreamSock::cKvnStreamSock;
  ~cKvnClientStreamSock() override = default;

  // Connects with sends and receives bounded by kDaemonIoTimeoutSeconds.
  bool ConnectAddress(const KvnSocketAddress &address, bool log_errors);
  // Unix-domain stream connection to `path`.
  bool ConnectUnix(const char *path);
};

// The socket owned by the API client session.
class cKvnApiClientStreamSock : public cKvnClientStreamSock {
 public:
  using cKvnClientStreamSock::cKvnClientStreamSock;
  ~cKvnApiClientStreamSock() override = default;

  // Connects to the daemon's socket at `path` and keeps the connection only
  // when the controller serves it: root, or the process that the daemon's pid
  // file names. Once the daemon has died anyone may bind the path, and every
  // request carries a user's rights and perhaps a password; nothing is sent
  // to such a peer.
  bool ConnectDaemon(const char *path);

 private:
  bool PeerIsController() const;
};
