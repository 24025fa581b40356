#include "SnapshotConnector.h"

#include "config/PathText.h"
#include "source/MemoryApplication.h"
#include "source/Snapshot.h"

#include <cstring>
#include <string_view>
#include <system_error>

namespace app {
namespace {

// A 64-bit digest of the bytes, eight at a time: fast next to the parse it saves, and a changed file
// that keeps its length and its digest is not to be expected by chance.
std::uint64_t digestOf(std::string_view bytes)
{
    constexpr std::uint64_t kPrime = 0x100000001b3;
    std::uint64_t digest = 0xcbf29ce484222325;
    std::size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + i, 8);
        digest = (digest ^ word) * kPrime;
        digest ^= digest >> 29;
    }
    for (; i < bytes.size(); ++i)
        digest = (digest ^ static_cast<unsigned char>(bytes[i])) * kPrime;
    return digest;
}

} // namespace

SnapshotConnector::SnapshotConnector(std::optional<std::filesystem::path> snapshot) : m_snapshot(std::move(snapshot)) {}

bool SnapshotConnector::findMainWindow(std::string_view)
{
    std::error_code error;
    return m_snapshot && std::filesystem::is_regular_file(*m_snapshot, error);
}

std::shared_ptr<source::Application> SnapshotConnector::requestObject(std::string_view)
{
    if (!m_snapshot)
        throw std::runtime_error("No snapshot file names the simulated measuring application");
    // The file is always read; only the same bytes as last time skip the parse, and every
    // connection still gets an application of its own in the file's state.
    const std::string text = source::readSnapshotText(*m_snapshot);
    const std::uint64_t digest = digestOf(text);
    if (!m_last || m_last->length != text.size() || m_last->digest != digest) {
        m_last.reset(); // a file that fails to parse leaves nothing behind to reuse
        auto record = std::make_shared<source::ApplicationRecord>(source::parseSnapshot(text, config::pathText(*m_snapshot)));
        m_last = ReadSnapshot{text.size(), digest, record->updatesEnabled, record};
    }
    // Each connection finds the application in the file's state, whatever an earlier one wrote.
    m_last->record->updatesEnabled = m_last->updatesEnabled;
    return std::make_shared<source::MemoryApplication>(m_last->record);
}

} // namespace app
