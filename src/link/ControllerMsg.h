#pragma once
// Base of every request/reply exchanged with the controller.

#include <cstdint>
#include <string>
#include <string_view>

namespace halcyra {

class CControllerLink;
class CRxBuffer;
class CTxBuffer;

enum class HeaderFamily { ThreeByte, FourByte, SixByte };

inline constexpr std::uint8_t kRequestCode = 0xBE;
inline constexpr std::uint8_t kReplyCode = 0xBF;
inline constexpr std::int32_t kAnyLength = -1;

class CControllerMsg {
public:
    enum State { Waiting = 0, Rejected = 1, Accepted = 2 };

    explicit CControllerMsg(HeaderFamily family, std::uint8_t messageId = 0, std::uint8_t subCode = 0,
                            std::uint8_t operation = 0, std::int32_t payloadLength = 0);
    virtual ~CControllerMsg();
    CControllerMsg(const CControllerMsg&) = delete;
    CControllerMsg& operator=(const CControllerMsg&) = delete;

    // Take the reply's payload fields out of the receive buffer. Returning
    // false rejects the frame (a payload the message cannot hold).
    virtual bool DecodePayload(CRxBuffer& rx);
    virtual void DecodeHeader(CRxBuffer& rx);
    virtual void RemoveTrailer(CRxBuffer& rx);
    virtual void EncodeHeader(CTxBuffer& tx) const;
    virtual void EncodePayload(CTxBuffer& tx) const;
    virtual void EncodeExtra(CTxBuffer& tx) const;
    virtual bool IsComplete(const CRxBuffer& rx) const;
    virtual bool Matches(const CRxBuffer& rx) const;
    virtual std::int32_t PayloadLength() const { return payloadLength_; }
    virtual std::int32_t ExpectedCount() const;
    // Encodes the request and writes it as one frame.
    virtual bool Send(CTxBuffer& tx) const;
    // A frame with this message's header that is nevertheless not its answer,
    // such as the late answer to an earlier request: the link passes over it
    // as it does a frame no pending message matches. Asked only of frames
    // whose length and checksum hold.
    virtual bool Declines(const CRxBuffer&) const { return false; }
    // Called for each frame this message claimed but rejected (wrong length or checksum).
    virtual void OnRejected() {}
    // Called when a wait for further frames of a registered message ends.
    virtual void OnAwaitDone() {}
    // Called by a transaction after each try is sent.
    virtual void OnTrySent() {}

    HeaderFamily Family() const { return family_; }
    int GetState() const { return state_; }
    void SetState(int state) { state_ = state; }
    bool IsPending() const { return pending_; }
    // Frames this message claimed and refused, and frames it declined, over its life.
    int RejectedFrames() const { return rejectedFrames_; }
    int DeclinedFrames() const { return declinedFrames_; }
    // Packet code, message id and the family's header bytes after it, as sent.
    int HeaderBytes() const { return 2 + HeaderBytesAfterId(); }

    std::uint8_t packetCode;
    std::uint8_t messageId;
    std::uint8_t replyCode;
    std::uint8_t subCode;
    std::uint8_t operation;
    std::uint8_t selector1 = 0;
    std::uint8_t selector2 = 0;

protected:
    // The link the message is registered with, if any.
    CControllerLink* RegisteredLink() const { return link_; }

    std::int32_t payloadLength_;

private:
    friend class CControllerLink;
    int HeaderBytesAfterId() const;

    HeaderFamily family_;
    bool pending_ = false;
    int state_ = Waiting;
    int rejectedFrames_ = 0;
    int declinedFrames_ = 0;
    CControllerLink* link_ = nullptr; // where the message is registered
};

inline constexpr std::size_t kMaxNameCompare = 40;

// The name token at the start of a parameter text: at least three letters or
// digits, at most 40. Returns its length, or 0 when there is none.
std::size_t NameTokenLength(std::string_view text);

// Named parameters travel as text: get sends the name, set sends "name: value".
class CParamTextMsg final : public CControllerMsg {
public:
    static constexpr std::size_t kMaxText = 227;
    enum Operation : std::uint8_t { Get = 0, Set = 1 };

    explicit CParamTextMsg(Operation op, std::string text = {});
    bool DecodePayload(CRxBuffer& rx) override;
    void EncodePayload(CTxBuffer& tx) const override;
    // A reply naming a parameter that an earlier get asked for and never
    // received is that get's late answer: taking it would shift every later
    // answer by one. Any other reply is this get's own, whatever it names (a
    // controller's error text, "ERR: no such name", makes the get fail).
    bool Declines(const CRxBuffer& rx) const override;
    void OnTrySent() override;

    const std::string& Text() const { return text_; }
    void SetText(std::string text);

private:
    std::string text_;
    std::string askedName_; // a get's name, compared over at most 40 characters
};

// The controller status request, used to see whether a controller answers.
class CStatusMsg final : public CControllerMsg {
public:
    CStatusMsg();
    bool DecodePayload(CRxBuffer& rx) override;
    std::uint8_t status[3] = {};
};

// Asks the controller to restart; it does not answer.
class CResetMsg final : public CControllerMsg {
public:
    CResetMsg();
};

} // namespace halcyra
