#pragma once
// Messages against bytes written out by hand: what a message sends, and
// what it makes of a reply. The bytes are text: hex pairs ("BE 40 14 00"),
// a pair repeated ("00*16"), quoted characters ("\"dsu\"") and "|" to set
// the header apart from the payload; blanks and line breaks are ignored.
// The link's framing (tested on its own) adds and checks the DLEs, the
// length byte and the checksum.

#include "RecordingNotifier.h"
#include "link/ControllerLink.h"
#include "link/MemoryPort.h"

#include <gtest/gtest.h>

#include <cctype>
#include <deque>
#include <functional>
#include <memory>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace halcyra::test {

using WireBytes = std::vector<std::uint8_t>;

inline WireBytes ParseWire(std::string_view text)
{
    WireBytes out;
    std::size_t i = 0;
    auto hexPair = [&](std::size_t at) {
        const std::string pair(text.substr(at, 2));
        if (pair.size() != 2 || !std::isxdigit(static_cast<unsigned char>(pair[0])) ||
            !std::isxdigit(static_cast<unsigned char>(pair[1])))
            throw std::invalid_argument("bad byte text at " + std::string(text.substr(at)));
        return static_cast<std::uint8_t>(std::stoul(pair, nullptr, 16));
    };
    while (i < text.size()) {
        const char c = text[i];
        if (std::isspace(static_cast<unsigned char>(c)) || c == '|') {
            ++i;
        } else if (c == '"') {
            const std::size_t end = text.find('"', i + 1);
            if (end == std::string_view::npos)
                throw std::invalid_argument("unterminated text in byte text");
            out.insert(out.end(), text.begin() + static_cast<std::ptrdiff_t>(i + 1),
                       text.begin() + static_cast<std::ptrdiff_t>(end));
            i = end + 1;
        } else {
            const std::uint8_t byte = hexPair(i);
            i += 2;
            std::size_t times = 1;
            if (i < text.size() && text[i] == '*') {
                std::size_t digits = 0;
                times = std::stoul(std::string(text.substr(i + 1)), &digits);
                i += 1 + digits;
            }
            out.insert(out.end(), times, byte);
        }
    }
    return out;
}

inline std::string WireText(const WireBytes& bytes)
{
    static const char* kDigits = "0123456789ABCDEF";
    std::string out;
    for (std::uint8_t b : bytes) {
        if (!out.empty())
            out.push_back(' ');
        out.push_back(kDigits[b >> 4]);
        out.push_back(kDigits[b & 0x0F]);
    }
    return out;
}

// The same bytes in the one spelling WireText gives, for comparisons.
inline std::string Canonical(std::string_view text) { return WireText(ParseWire(text)); }

// Takes frames apart as the controller would: packet code, header and
// payload of each frame whose length byte and checksum hold.
class CFrameSplitter {
public:
    std::vector<std::string> Split(const WireBytes& wire)
    {
        std::vector<std::string> frames;
        for (std::uint8_t byte : wire) {
            if (!rx_.FeedByte(byte))
                continue;
            rx_.ExposeHeader();
            if (rx_.Check() != FrameCheck::Good) {
                frames.push_back(std::string("bad frame: ") + FrameCheckText(rx_.Check()));
            } else {
                WireBytes body = {rx_.Header(0), rx_.Header(1)};
                for (int k = 0; k + 3 < rx_.Count(); ++k)
                    body.push_back(rx_.Peek(static_cast<std::size_t>(k)));
                frames.push_back(WireText(body));
            }
            rx_.Reset();
        }
        return frames;
    }

private:
    CRxBuffer rx_;
};

// A reply as it comes off the wire: framed, with a good length byte and checksum.
inline WireBytes FramedReply(std::string_view reply)
{
    CTxBuffer tx;
    for (std::uint8_t b : ParseWire(reply))
        tx.PushBack(b);
    WireBytes frame;
    tx.BuildFrame(frame, true, true);
    return frame;
}

// What the message puts on the wire when it is sent: packet code, header and payload.
inline std::string SentBytes(const CControllerMsg& msg)
{
    CMemoryPort port;
    CTxBuffer tx(&port);
    msg.Send(tx);
    const std::vector<std::string> frames = CFrameSplitter().Split(port.Written());
    if (frames.size() != 1)
        return "not one frame but " + std::to_string(frames.size());
    return frames[0];
}

// What the link does with a reply for a pending message.
enum class ReplyFate { Accepted, Rejected, Unclaimed };

inline void PrintTo(ReplyFate fate, std::ostream* os)
{
    *os << (fate == ReplyFate::Accepted ? "accepted" : fate == ReplyFate::Rejected ? "rejected" : "unclaimed");
}

// Hands the reply to msg, the only pending message, as a transaction would.
inline ReplyFate Deliver(CControllerMsg& msg, std::string_view reply)
{
    CRecordingNotifier notifier;
    CMemoryPort port;
    CControllerLink link(notifier);
    link.SetPort(&port);
    port.Feed(FramedReply(reply));
    msg.SetState(CControllerMsg::Waiting);
    link.Register(msg);
    const bool claimed = link.ReceiveStep();
    link.Unregister(msg);
    if (!claimed)
        return ReplyFate::Unclaimed;
    return msg.GetState() == CControllerMsg::Accepted ? ReplyFate::Accepted : ReplyFate::Rejected;
}

// Field values as one text, "2.5 -12.25 \"SN1\"", for comparing with a row.
inline void PutValue(std::ostream& o, const std::string& s) { o << '"' << s << '"'; }
template <typename T> void PutValue(std::ostream& o, const T& v)
{
    if constexpr (std::is_integral_v<T>)
        o << +v;
    else
        o << v;
}
template <typename... T> std::string Values(const T&... values)
{
    std::ostringstream o;
    int n = 0;
    ((o << (n++ ? " " : ""), PutValue(o, values)), ...);
    return o.str();
}

// One message of a table: how the program makes and fills it, the request
// bytes, and a reply with the fields the message must read from it.
struct MessageCase {
    using Maker = std::function<std::unique_ptr<CControllerMsg>()>;
    using Reader = std::function<std::string(const CControllerMsg&)>;
    MessageCase(std::string name_, Maker make_, std::string request_, std::string reply_ = {},
                std::string fields_ = {}, Reader read_ = {}, bool anyLength_ = false)
        : name(std::move(name_)), make(std::move(make_)), request(std::move(request_)), reply(std::move(reply_)),
          fields(std::move(fields_)), read(std::move(read_)), anyLength(anyLength_)
    {
    }

    std::string name;
    Maker make;
    std::string request; // empty: only ever awaited, never sent
    std::string reply;   // empty: the controller does not answer it
    std::string fields;  // what read() renders after the reply
    Reader read;
    bool anyLength;      // otherwise one payload byte more or fewer is refused
};

inline void PrintTo(const MessageCase& c, std::ostream* os) { *os << c.name; }

template <typename M, typename... A> std::function<std::unique_ptr<CControllerMsg>()> Make(A... args)
{
    return [=] { return std::unique_ptr<CControllerMsg>(new M(args...)); };
}

template <typename M, typename F> std::function<std::string(const CControllerMsg&)> Read(F f)
{
    return [f](const CControllerMsg& m) { return f(dynamic_cast<const M&>(m)); };
}

inline std::string CaseName(const ::testing::TestParamInfo<MessageCase>& info) { return info.param.name; }

// The checks every row gets: the request as written, the reply read into
// the fields, and a reply one byte short or long refused.
inline void CheckMessageCase(const MessageCase& c)
{
    if (!c.request.empty()) {
        EXPECT_EQ(Canonical(c.request), SentBytes(*c.make())) << "request";
    }
    if (c.reply.empty())
        return;
    auto msg = c.make();
    ASSERT_EQ(ReplyFate::Accepted, Deliver(*msg, c.reply)) << "reply " << c.reply;
    if (c.read) {
        EXPECT_EQ(c.fields, c.read(*msg));
    }
    if (c.anyLength)
        return;
    const WireBytes reply = ParseWire(c.reply);
    if (reply.size() > static_cast<std::size_t>(msg->HeaderBytes())) {
        const WireBytes shorter(reply.begin(), reply.end() - 1);
        EXPECT_EQ(ReplyFate::Rejected, Deliver(*c.make(), WireText(shorter))) << "a payload one byte short";
    }
    EXPECT_EQ(ReplyFate::Rejected, Deliver(*c.make(), c.reply + " 00")) << "a payload one byte long";
}

// A controller that answers each request with the next reply of a script
// and keeps the requests as it got them.
class CScriptedController {
public:
    CScriptedController() : link(notifier)
    {
        link.SetPort(&port);
        port.OnWait([this] { Answer(); });
    }
    explicit CScriptedController(std::vector<std::string> script) : CScriptedController()
    {
        replies.assign(script.begin(), script.end());
    }

    CRecordingNotifier notifier;
    CMemoryPort port;
    CControllerLink link;
    std::deque<std::string> replies; // an empty entry: that request goes unanswered
    std::vector<std::string> requests;

private:
    void Answer()
    {
        for (const std::string& request : splitter_.Split(port.TakeWritten())) {
            requests.push_back(request);
            if (replies.empty())
                continue;
            if (!replies.front().empty())
                port.Feed(FramedReply(replies.front()));
            replies.pop_front();
        }
    }
    CFrameSplitter splitter_;
};

// One operation of the program against a scripted controller: the replies
// it gets, the requests it must send, and what it makes of the replies.
struct ExchangeCase {
    std::string name;
    std::function<std::string(CControllerLink&)> run;
    std::vector<std::string> replies;
    std::vector<std::string> requests;
    std::string result;
};

inline void PrintTo(const ExchangeCase& c, std::ostream* os) { *os << c.name; }
inline std::string ExchangeName(const ::testing::TestParamInfo<ExchangeCase>& info) { return info.param.name; }

inline void CheckExchangeCase(const ExchangeCase& c)
{
    CScriptedController controller(c.replies);
    const std::string result = c.run(controller.link);
    std::vector<std::string> expected;
    for (const std::string& request : c.requests)
        expected.push_back(Canonical(request));
    EXPECT_EQ(expected, controller.requests);
    EXPECT_EQ(c.result, result);
    EXPECT_TRUE(controller.replies.empty()) << controller.replies.size() << " replies left over";
}

} // namespace halcyra::test
