// Fuzzes the readers of named-parameter text.
//
// Input: one control byte, then a text. The text is split into lines; each
// parameter class parses one line as a controller reply, under a name chosen
// by the control byte (the line's own name token, a fixed name, the line's
// bytes up to its colon, or a longer name sharing the token). Then:
//  - the whole text is the payload of a named-parameter reply frame, taken
//    through CControllerLink::Transact on a memory port;
//  - a memory port answers gets and sets like a controller whose store is the
//    text's lines, for Get, Set and a parameter set;
//  - the whole text is a parameter file read by ReadFromFile, checked against
//    a plain reading of the file format.

#include "FuzzSupport.h"

#include "link/ControllerLink.h"
#include "link/ControllerMsg.h"
#include "link/MemoryPort.h"
#include "params/Param.h"
#include "params/ParamFile.h"
#include "params/ParamSet.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

using namespace halcyra;
using halcyra::fuzz::Require;

namespace {

constexpr std::size_t kMaxLines = 16;

std::vector<std::string_view> SplitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (lines.size() < kMaxLines) {
        const std::size_t end = text.find('\n');
        lines.push_back(text.substr(0, end));
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

std::string_view Token(std::string_view line) { return line.substr(0, NameTokenLength(line)); }

std::string ChooseName(int mode, std::string_view line, std::size_t index)
{
    static constexpr const char* kFixed[] = {"MonVerCVMajor", "vms", "dsu", "gct", "vtt", "DZSwpCmd", "vti", "DblRate"};
    switch (mode) {
    case 0:
        if (!Token(line).empty())
            return std::string(Token(line));
        break;
    case 2: {
        const std::size_t colon = line.find(':');
        return std::string(line.substr(0, colon == std::string_view::npos ? 64 : std::min<std::size_t>(colon, 64)));
    }
    case 3:
        // Agrees with the token over the compared 40 characters only when the token is that long.
        return std::string(Token(line)) + "Tail";
    default:
        break;
    }
    return kFixed[index % (sizeof kFixed / sizeof kFixed[0])];
}

// What ParseReply must have checked before it accepted a line.
void CheckAcceptedLine(const CParam& p, std::string_view line)
{
    const std::size_t n = NameTokenLength(line);
    Require(n >= 3 && n <= kMaxNameCompare);
    Require(line.substr(0, n) == std::string_view(p.Name()).substr(0, kMaxNameCompare));
    Require(line.substr(n, 2) == ": ");
    Require(p.IsRetrieved());
}

// ---------------------------------------------------------------- the parameters

struct CParams {
    explicit CParams(const std::vector<std::string>& names)
        : base(names[0]), unsignedValue(names[1]), byteValue(names[2]), shortValue(names[3]),
          floatValue(names[4]), stringValue(names[5]), length(names[7]), ranged(names[8])
    {
    }
    std::vector<CParam*> All()
    {
        return {&base, &unsignedValue, &byteValue, &shortValue, &floatValue, &stringValue, &units, &length, &ranged};
    }
    CParam base;
    CUIntParam unsignedValue;
    CByteParam byteValue;
    CShortParam shortValue;
    CFloatParam floatValue;
    CStringParam stringValue;
    CUnitsParam units;
    CLengthParam length;
    CRangedLengthParam ranged;
};
constexpr std::size_t kClassCount = 9;

const LengthRangeTable kRanges = {{
    {-250.0f, 250.0f, 0.5f},   // cm
    {-2.5f, 2.5f, 0.01f},      // m
    {-98.0f, 98.0f, 0.25f},    // in
    {-8.2f, 8.2f, 0.0f},       // ft: no step
}};

void CheckInRange(const CRangedLengthParam& p, std::uint8_t unit)
{
    const LengthRange& r = kRanges[unit];
    if (std::isnan(p.value))
        return; // nothing orders a NaN; it is left as read
    Require(p.value <= CRangedLengthParam::Stepped(r.maximum, r.step));
    Require(p.value >= CRangedLengthParam::Stepped(r.minimum, r.step));
}

void ParseEveryClass(std::uint8_t control, const std::vector<std::string_view>& lines)
{
    const int mode = control & 3;
    std::vector<std::string> names;
    for (std::size_t i = 0; i < kClassCount; ++i)
        names.push_back(ChooseName(mode, lines[i % lines.size()], i));
    CParams p(names);
    std::vector<CParam*> all = p.All();
    for (std::size_t i = 0; i < all.size(); ++i) {
        const std::string_view line = lines[i % lines.size()];
        CParam& param = *all[i];
        const bool ok = param.ParseReply(line);
        Require(ok == param.IsRetrieved());
        if (ok) {
            CheckAcceptedLine(param, line);
            Require(!param.IsModified()); // value and read value are the same right after a read
        }
    }

    Require(!p.base.IsRetrieved() && p.base.ToText().empty());

    // Text forms read back as the same value.
    if (p.unsignedValue.IsRetrieved()) {
        CUIntParam again("again");
        Require(again.FromText(p.unsignedValue.ToText()) && again.value == p.unsignedValue.value);
    }
    if (p.byteValue.IsRetrieved()) {
        CByteParam again("again");
        Require(again.FromText(p.byteValue.ToText()) && again.value == (p.byteValue.value & 0xFFu));
    }
    if (p.shortValue.IsRetrieved()) {
        CShortParam again("again");
        Require(again.FromText(p.shortValue.ToText()) && again.value == p.shortValue.value);
    }
    if (p.floatValue.IsRetrieved()) {
        CFloatParam again("again");
        Require(again.FromText(p.floatValue.ToText()));
        Require(std::isnan(again.value) == std::isnan(p.floatValue.value));
    }
    if (p.stringValue.IsRetrieved()) {
        Require(p.stringValue.value.size() <= CStringParam::kMaxValue);
        Require(p.stringValue.value.find('"') == std::string::npos);
        Require(p.stringValue.ToText().size() <= CStringParam::kMaxValue);
        if (p.stringValue.value.size() + 2 <= CStringParam::kMaxValue) {
            CStringParam again("again");
            Require(again.FromText(p.stringValue.ToText()) && again.value == p.stringValue.value);
        }
    } else {
        Require(p.stringValue.value.empty() && p.stringValue.readValue.empty());
    }

    // Display units: only indices 0 to 3 have a factor.
    if (p.units.IsRetrieved()) {
        const bool known = (p.units.value & 0xFFu) <= 3;
        Require(p.units.ApplyUnitIndex(p.units.value) == known);
        Require(p.units.HasFactor() == known);
        if (known)
            Require(p.units.Factor() > 0 && !p.units.UnitName().empty() && p.units.UnitIndex() <= 3);
    }

    // Rounding and clamping a length to the range of the chosen unit.
    const std::uint8_t unit = static_cast<std::uint8_t>((control >> 2) & 3);
    Require(p.ranged.Units().ApplyUnitIndex(unit));
    p.ranged.ApplyRange(); // no table yet: nothing happens
    p.ranged.SetRange(&kRanges);
    p.ranged.ApplyRange();
    CheckInRange(p.ranged, unit);
}

// ---------------------------------------------------------------- the link

// A memory port that answers named-parameter requests. In raw mode every
// reply carries the given payload; otherwise a get is answered with the
// first stored line whose name token is the requested name (or with the name
// and a question mark, as a controller that does not know it), and a set
// with "OK". Only requests are answered.
class CParamAnswerer {
public:
    CParamAnswerer(CMemoryPort& port, const std::vector<std::string_view>& store) : port_(port), store_(store)
    {
        port_.OnWait([this] { Answer(); });
    }
    std::string_view raw;
    bool rawMode = false;
    int requests = 0;
    std::string lastRequestText;

private:
    void Answer()
    {
        const std::vector<std::uint8_t> written = port_.TakeWritten();
        std::uint8_t operation = 0;
        std::string text;
        bool answered = false;
        // The link writes whole, well-formed requests; take the last one.
        CRxBuffer rx;
        for (std::uint8_t b : written) {
            if (!rx.FeedByte(b))
                continue;
            rx.ExposeHeader();
            Require(rx.TrailerOk());
            Require(rx.Header(0) == kRequestCode && rx.Header(1) == 0x40 && rx.Header(2) == 0x14);
            operation = rx.Header(3);
            std::uint8_t skip = 0;
            rx.PopFront(skip);
            rx.PopFront(skip);
            text.clear();
            while (rx.Count() > 3) {
                std::uint8_t c = 0;
                rx.PopFront(c);
                text.push_back(static_cast<char>(c));
            }
            Require(text.size() <= CParamTextMsg::kMaxText);
            rx.Reset();
            ++requests;
            answered = true;
        }
        if (!answered)
            return;
        lastRequestText = text;

        std::string_view reply = raw;
        if (!rawMode) {
            if (operation == CParamTextMsg::Set) {
                reply = "OK";
            } else {
                unknown = text + "?";
                reply = unknown;
                for (std::string_view line : store_)
                    if (!Token(line).empty() && Token(line) == std::string_view(text).substr(0, kMaxNameCompare)) {
                        reply = line;
                        break;
                    }
            }
        }
        const std::vector<std::uint8_t> frame = fuzz::EncodeParamReply(operation, reply);
        Require(!frame.empty());
        port_.Feed(frame);
    }

    CMemoryPort& port_;
    const std::vector<std::string_view>& store_;
    std::string unknown;
};

void TransactRawReply(std::uint8_t control, std::string_view text, const std::vector<std::string_view>& lines)
{
    fuzz::CCountingNotifier notifier;
    CMemoryPort port;
    CControllerLink link(notifier);
    link.SetPort(&port);
    CParamAnswerer answerer(port, lines);
    answerer.rawMode = true;
    answerer.raw = text;

    const auto op = (control & 0x10) != 0 ? CParamTextMsg::Set : CParamTextMsg::Get;
    // A get asks for the name the reply carries, or (by the control byte) for another.
    const std::string_view sent = text.substr(0, fuzz::kMaxReceivablePayload);
    const std::string_view token = Token(sent);
    const bool askOther = (control & 0x20) != 0 || token.empty();
    const std::string asked = askOther ? "MonVerCVMajor" : std::string(token);
    CParamTextMsg msg(op, asked);
    // A get passes over a good reply that names another parameter, and then
    // waits out its time-out.
    const bool declined = op == CParamTextMsg::Get && !token.empty() && token != std::string_view(asked).substr(0, kMaxNameCompare);
    const bool ok = link.Transact(msg, {.timeoutMs = declined ? 1u : 5u, .tries = 1});
    Require(link.PendingCount() == 0 && !msg.IsPending());
    Require(msg.DeclinedFrames() <= 1 && (msg.DeclinedFrames() == 0 || declined));
    if (msg.GetState() == CControllerMsg::Waiting) {
        // Declined, or the machine stalled past the short time-out before the reply was read.
        Require(!ok && notifier.count == 1);
        return;
    }
    Require(!declined);

    // The reply text ends at its first NUL and is taken only when it fits.
    const std::string_view expected = sent.substr(0, sent.find('\0'));
    Require(ok == (expected.size() <= CParamTextMsg::kMaxText));
    Require(answerer.requests == 1);
    if (ok) {
        Require(msg.Text() == expected);
        Require(msg.GetState() == CControllerMsg::Accepted && notifier.count == 0);
    } else {
        Require(msg.Text() == asked);
        Require(msg.GetState() == CControllerMsg::Rejected && notifier.count == 1);
    }
}

void TalkToController(std::uint8_t control, const std::vector<std::string_view>& lines)
{
    fuzz::CCountingNotifier notifier;
    CMemoryPort port;
    CControllerLink link(notifier);
    link.SetPort(&port);
    CParamAnswerer answerer(port, lines);

    // The control byte picks the stored line whose name the parameters take.
    const std::string_view first = lines[static_cast<std::size_t>(control >> 5) % lines.size()];
    const std::string name = Token(first).empty() ? std::string("vms") : std::string(Token(first));

    // Get as every class does it, each answered from the store.
    {
        CParamSet set;
        CUIntParam unsignedValue(name, &set);
        CStringParam stringValue(name, &set);
        CFloatParam floatValue(name, &set);
        CRangedLengthParam ranged(name, &set);
        ranged.SetRange(&kRanges);
        CUnitsParam units(&set);
        const bool all = set.GetAll(link);
        for (CParam* p : set.Members())
            Require(!all || p->IsRetrieved());
        // The display units of a length come from its own "dsu" get; a length
        // with units was read whole and then rounded and clamped.
        // A length without them stays in metres and must never be sent back.
        Require(ranged.IsRetrieved() == ranged.Units().HasFactor());
        if (ranged.IsRetrieved())
            CheckInRange(ranged, ranged.Units().UnitIndex());
        else
            Require(!ranged.IsModified());
        // Display units without a factor count as not read.
        Require(units.IsRetrieved() == units.HasFactor());
        if (units.HasFactor())
            Require(units.UnitIndex() == (units.value & 0xFFu));
        // Whatever was changed by rounding goes back; nothing else does.
        const int before = answerer.requests;
        const bool anyModified = set.AnyModified();
        Require(set.SetModified(link));
        Require(anyModified == (answerer.requests > before));
        Require(link.PendingCount() == 0);
    }

    // Set of a string: sent whole or refused with a box, never cut short.
    {
        CStringParam stringValue(name);
        const std::size_t colon = first.find(':');
        stringValue.value = std::string(first.substr(colon == std::string_view::npos ? 0 : colon));
        const std::string text = name + ": " + stringValue.ToText();
        const int boxes = notifier.count;
        const int before = answerer.requests;
        const bool ok = stringValue.Set(link);
        if (text.size() > CParamTextMsg::kMaxText) {
            Require(!ok && notifier.count == boxes + 1 && answerer.requests == before);
            Require(port.Written().empty());
        } else {
            Require(ok && answerer.requests == before + 1 && answerer.lastRequestText == text);
        }
    }

    // A length cannot be set before the display units are known.
    {
        CLengthParam length(name);
        length.value = 1.5f;
        const int boxes = notifier.count;
        Require(!length.Set(link) && notifier.count == boxes + 1);
    }
}

// ---------------------------------------------------------------- parameter files

// Reads lines as the file format describes them: up to 228 characters; a
// line break (CR LF, LF CR, CR or LF) or the end of the file ends a line. The
// break is dropped, and so is the 228th character of a line that long; a
// last line without a break keeps all its characters.
std::string PlainReadLine(std::string_view file, std::size_t& pos)
{
    std::string line;
    bool ended = false;
    while (line.size() < kMaxLineChars && pos < file.size()) {
        const char c = file[pos++];
        line.push_back(c);
        if (c == '\r' || c == '\n') {
            ended = true;
            if (pos < file.size() && (file[pos] == '\r' || file[pos] == '\n'))
                ++pos; // the other half of a two-byte break
            break;
        }
    }
    if (ended || line.size() >= kMaxLineChars)
        line.pop_back();
    return line;
}

// The line ReadFromFile must parse for a name, or nothing.
bool PlainFindLine(std::string_view file, std::string_view name, std::string& found)
{
    std::size_t pos = 0;
    for (;;) {
        std::string line = PlainReadLine(file, pos);
        if (line.empty())
            return false;
        const std::string_view token = Token(line);
        if (!token.empty() && token == name.substr(0, kMaxNameCompare)) {
            found = std::move(line);
            return true;
        }
    }
}

void ReadEveryClassFromFile(std::uint8_t control, std::string_view text, const std::vector<std::string_view>& lines)
{
    if (text.empty())
        return;
    std::string copy(text);
    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, Closer> file(fmemopen(copy.data(), copy.size(), "r"));
    Require(file != nullptr);

    std::vector<std::string> names;
    for (std::size_t i = 0; i < kClassCount; ++i)
        names.push_back(ChooseName(control & 3, lines[(i + 1) % lines.size()], i));
    CParams read(names);
    CParams expected(names);
    std::vector<CParam*> got = read.All();
    std::vector<CParam*> want = expected.All();
    for (std::size_t i = 0; i < got.size(); ++i) {
        // Leave the file anywhere: the reader starts from the top.
        std::fseek(file.get(), static_cast<long>(copy.size() / (i + 1)), SEEK_SET);
        const bool ok = got[i]->ReadFromFile(file.get());
        Require(std::ftell(file.get()) == 0);
        std::string line;
        const bool found = PlainFindLine(text, got[i]->Name(), line);
        const bool parsed = found && want[i]->ParseReply(line);
        Require(ok == parsed);
        Require(ok == got[i]->IsRetrieved());
        Require(got[i]->ToText() == want[i]->ToText());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::uint8_t control = data[0];
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::vector<std::string_view> lines = SplitLines(text);

    ParseEveryClass(control, lines);
    TransactRawReply(control, text, lines);
    TalkToController(control, lines);
    ReadEveryClassFromFile(control, text, lines);
    return 0;
}
