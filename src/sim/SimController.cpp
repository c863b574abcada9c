#include "sim/SimController.h"

#include "link/Framing.h"
#include "link/MemoryPort.h"

#include <cstring>

namespace halcyra::sim {

Bytes Request::Payload(std::size_t headerBytes) const
{
    if (body.size() <= headerBytes)
        return {};
    return Bytes(body.begin() + static_cast<std::ptrdiff_t>(headerBytes), body.end());
}

std::uint16_t Request::PayloadU16(std::size_t offset, std::size_t headerBytes) const
{
    Bytes p = Payload(headerBytes);
    if (p.size() < offset + 2)
        return 0;
    return static_cast<std::uint16_t>(p[offset] << 8 | p[offset + 1]);
}

float Request::PayloadF32(std::size_t offset, std::size_t headerBytes) const
{
    Bytes p = Payload(headerBytes);
    if (p.size() < offset + 4)
        return 0;
    std::uint32_t bits = 0;
    for (std::size_t i = 0; i < 4; ++i)
        bits = bits << 8 | p[offset + i];
    float value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

ReplyBuilder::ReplyBuilder(const Request& request, std::size_t headerBytes)
{
    body_.push_back(request.messageId);
    for (std::size_t i = 0; i < headerBytes && i < request.body.size(); ++i)
        body_.push_back(request.body[i]);
}

ReplyBuilder& ReplyBuilder::U8(std::uint8_t v)
{
    body_.push_back(v);
    return *this;
}

ReplyBuilder& ReplyBuilder::U16(std::uint16_t v)
{
    body_.push_back(static_cast<std::uint8_t>(v >> 8));
    body_.push_back(static_cast<std::uint8_t>(v));
    return *this;
}

ReplyBuilder& ReplyBuilder::U32(std::uint32_t v)
{
    for (int i = 3; i >= 0; --i)
        body_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    return *this;
}

ReplyBuilder& ReplyBuilder::F32(float v)
{
    std::uint32_t bits;
    std::memcpy(&bits, &v, 4);
    return U32(bits);
}

ReplyBuilder& ReplyBuilder::Raw(const Bytes& bytes)
{
    body_.insert(body_.end(), bytes.begin(), bytes.end());
    return *this;
}

ReplyBuilder& ReplyBuilder::Text(const std::string& text)
{
    body_.insert(body_.end(), text.begin(), text.end());
    return *this;
}

CSimController::CSimController(SimSettings settings) : settings_(std::move(settings))
{
    for (const auto& [name, value] : settings_.extra)
        if (!FindFeatureOption(name))
            throw std::invalid_argument("the simulated controller has no option " + name);
    std::string error;
    if (!params_.LoadText(DefaultSetupText(), error))
        throw std::logic_error("built-in setup, " + error);
    for (const SimFeatureKind& kind : SimFeatureKinds())
        features_.push_back(kind.make(settings_));
    for (auto& feature : features_)
        feature->Register(*this);
}

void CSimController::On(int messageId, int subCode, int operation, Handler handler)
{
    handlers_.push_back({{messageId, subCode, operation}, std::move(handler)});
}

void CSimController::BeginRestart()
{
    restartEnds_ = now_ + settings_.restartTime;
    ++restarts_;
}

void CSimController::Tick(Clock::time_point now)
{
    if (now < now_)
        return; // features never see time go back
    now_ = now;
    for (auto& feature : features_)
        feature->Tick(now);
}

std::optional<Bytes> CSimController::Handle(const Request& request, Clock::time_point now)
{
    Tick(now);
    ++requestsSeen_;
    if (Restarting())
        return std::nullopt;
    for (auto& [key, handler] : handlers_) {
        if (key.messageId != request.messageId)
            continue;
        if (key.subCode >= 0 && key.subCode != request.SubCode())
            continue;
        if (key.operation >= 0 && key.operation != request.Operation())
            continue;
        return handler(*this, request);
    }
    return std::nullopt; // unknown messages go unanswered
}

std::vector<Bytes> CSimController::TakeUnasked()
{
    std::vector<Bytes> frames;
    frames.swap(unasked_);
    return frames;
}

Bytes CSimController::FrameReply(const Bytes& body)
{
    CTxBuffer tx;
    tx.PushBack(0xBF);
    for (std::uint8_t b : body)
        tx.PushBack(b);
    Bytes frame;
    tx.BuildFrame(frame, true, true);
    return frame;
}

} // namespace halcyra::sim
