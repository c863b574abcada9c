#include "link/Files.h"

#include "link/Format.h"

#include <memory>

namespace halcyra {

namespace {

// The length of the UTF-8 sequence at text[i]; 0 when none starts there.
std::size_t SequenceLength(std::string_view text, std::size_t i)
{
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length =
        lead < 0x80 ? 1 : lead < 0xC2 ? 0 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF5 ? 4 : 0;
    if (length == 0 || i + length > text.size())
        return 0;
    for (std::size_t k = 1; k < length; ++k)
        if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
            return 0;
    return length;
}

bool IsControl(std::string_view sequence)
{
    const auto first = static_cast<unsigned char>(sequence[0]);
    if (sequence.size() == 1)
        return first < 0x20 || first == 0x7F;
    // U+0080 to U+009F: the C1 controls, CSI among them.
    return sequence.size() == 2 && first == 0xC2 && static_cast<unsigned char>(sequence[1]) < 0xA0;
}

} // namespace

std::filesystem::path PathFromUtf8(std::string_view utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8FromPath(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::string EscapedName(std::string_view name)
{
    std::string shown;
    for (std::size_t i = 0; i < name.size();) {
        const std::size_t length = SequenceLength(name, i);
        const std::string_view sequence = name.substr(i, length == 0 ? 1 : length);
        if (length == 0 || IsControl(sequence)) {
            for (char c : sequence)
                shown += Format("\\x%02X", static_cast<unsigned>(static_cast<unsigned char>(c)));
        } else {
            shown += sequence;
        }
        i += sequence.size();
    }
    return shown;
}

FileRead ReadWholeFile(const std::string& path, std::string& bytes, std::string* why, std::size_t limit)
{
    bytes.clear();
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(OpenFile(path, "rb", why), &std::fclose);
    if (!file)
        return FileRead::CannotOpen;
    char buffer[8192];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0;) {
        if (n > limit - bytes.size()) {
            bytes.clear();
            return FileRead::TooLarge;
        }
        bytes.append(buffer, n);
    }
    if (std::ferror(file.get())) {
        if (why)
            *why = "it could not be read";
        bytes.clear();
        return FileRead::CannotOpen;
    }
    return FileRead::Read;
}

} // namespace halcyra
