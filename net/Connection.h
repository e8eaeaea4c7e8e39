#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "net/InMessage.h"
#include "net/OutMessage.h"

class Socket;

// The game connection: TCP to the first reachable host of a list, frames of a
// u16 little-endian payload length and the payload in both directions.
//
// Everything runs on the main thread except the connect, which resolves and
// connects on a thread of its own so the main loop never waits. The main
// thread calls Poll once per pass: one receive (cut into frames, queued as
// InMessages for PopIncoming) and one send of at most 1000 bytes of the
// oldest queued request; every wait is a select with a zero time-out.
//
// Received frames are handed out by value and read in place (see
// InMessage): nothing is allocated or copied per frame, a message needs no
// delete and stays readable whatever the connection does meanwhile.
class Connection {
public:
    enum State : int {
        kIdle = 0,
        kConnecting = 1,
        kConnected = 2,
        kConnectFailed = 3,  // no host could be reached; GetLastError says why
        kReceiveFailed = 4,  // a receive failed or the peer closed
        kSendFailed = 5,
    };
    static constexpr int kReceiveBufferSize = 400000;
    static constexpr int kSendChunk = 1000;
    static constexpr size_t kReadAhead = 8;  // frames PopIncoming fetches ahead

    Connection();
    // Waits for a connect thread still running; it gives up at its next host.
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Starts one attempt over the hosts in order, unless one is running or the
    // connection is up. Both queues are emptied first: nothing meant for the
    // last server may reach the next one. The caller queues its login request
    // when it first sees kConnected, before the Poll that sends, so that it is
    // the first thing the server reads.
    void Connect(const std::vector<std::string>& hosts, uint16_t port);
    void Poll();
    // Queues a copy of the request. An empty or overflowed request is never
    // sent.
    void Send(const OutMessage& message);
    // Moves the oldest received frame into `message`; false, with `message`
    // emptied, when there is none. A message still alive at the next Poll
    // makes the connection receive into a new buffer, so let them go:
    //     InMessage message;
    //     while (connection->PopIncoming(message))
    //         Dispatch(message);
    bool PopIncoming(InMessage& message) {
        if (inHead >= inQueue.size()) {
            message = InMessage();
            return false;
        }
        // The caller reads each frame as soon as it has it, and the frames of
        // a full receive lie far apart in memory; asking for the ones a few
        // places ahead keeps it from waiting on memory at every frame.
        if (inHead + kReadAhead < inQueue.size())
            __builtin_prefetch(inQueue[inHead + kReadAhead].Data());
        message = std::move(inQueue[inHead++]);
        // Emptied: start again at the front, keeping the room.
        if (inHead == inQueue.size()) {
            inQueue.clear();
            inHead = 0;
        }
        return true;
    }
    void ClearQueues();
    // Closes the socket, empties both queues and goes idle; an attempt still
    // under way is forgotten.
    void Disconnect();

    int GetState();
    // The protocol sets kIdle once it has dealt with a failure.
    void SetState(int state);
    // The socket error of the last failure; read it once the state is 3, 4 or 5.
    int GetLastError();

    // Received bytes go straight into the receive buffer: ReceiveSpace gives
    // the free room, TakeReceived counts in what was written there and cuts
    // every complete frame out of the buffer. The receive step uses them; so
    // can a benchmark or a fuzz target, without a socket.
    uint8_t* ReceiveSpace(int& room);
    void TakeReceived(int count);

    size_t IncomingCount() const { return inQueue.size() - inHead; }
    size_t OutgoingCount() const { return outSizes.size(); }
    // The queued requests, oldest first, each a whole frame (length prefix
    // included): what the senders built, for tests and benchmarks.
    std::vector<std::vector<uint8_t>> QueuedFrames() const;

private:
    struct ConnectWorker {
        std::thread thread;
        bool finished = false;  // guarded by the mutex
    };

    void ConnectThread(std::vector<std::string> hosts, uint16_t port, uint32_t attempt, ConnectWorker* worker);
    void JoinFinishedWorkers();
    bool ReceiveStep();
    bool SendStep();
    void SplitFrames();
    // Ends the connection after a failed receive or send.
    bool Fail(int newState, int error);

    std::mutex mutex;
    Socket* socket = nullptr;  // owned; published to the main thread by state 2
    int lastError = 0;
    int state = kIdle;
    // Requests waiting to be sent, oldest first: their frames (length prefix
    // and payload) back to back in outBytes from outHead on, and the size of
    // each. The room of sent frames is used again, so queuing a request costs
    // no allocation once the queue has grown to its usual size.
    std::vector<uint8_t> outBytes;
    size_t outHead = 0;
    std::deque<uint32_t> outSizes;
    size_t outSent = 0;  // bytes of the oldest frame the socket has accepted
    // Received frames, oldest first from inHead on. A vector whose room is
    // kept from pass to pass costs less per frame than a list.
    std::vector<InMessage> inQueue;
    size_t inHead = 0;
    // The receive buffer. The frames cut from it read their bytes in place,
    // so it is shared with them; while any of them is still alive at the next
    // receive, receiving goes on in a new buffer instead.
    InMessage::Block* recvBuffer = nullptr;
    int recvStart = 0;  // received bytes not yet cut into frames: recvStart to recvFill
    int recvFill = 0;

    // Each attempt has a number; a thread whose attempt is no longer the
    // current one (after Disconnect) closes what it made and changes nothing.
    uint32_t attempt = 0;
    std::list<std::unique_ptr<ConnectWorker>> workers;
    std::atomic<bool> closing{false};
};
