#include "SnapshotConnector.h"

#include "source/MemoryApplication.h"
#include "source/ReadError.h"
#include "source/Snapshot.h"

#include <array>
#include <cstring>
#include <string_view>
#include <system_error>

namespace app {
namespace {

// A 64-bit digest of the bytes, eight at a time, taken piece by piece: fast next to the parse it
// saves, and a changed file that keeps its length and its digest is not to be expected by chance.
class Digest {
public:
    void add(std::string_view bytes)
    {
        while (!bytes.empty() && m_pendingSize > 0) {
            m_pending[m_pendingSize++] = bytes.front();
            bytes.remove_prefix(1);
            if (m_pendingSize == 8) {
                addWord(m_pending.data());
                m_pendingSize = 0;
            }
        }
        for (; bytes.size() >= 8; bytes.remove_prefix(8))
            addWord(bytes.data());
        for (const char byte : bytes)
            m_pending[m_pendingSize++] = byte;
    }

    std::uint64_t value() const
    {
        std::uint64_t digest = m_digest;
        for (std::size_t i = 0; i < m_pendingSize; ++i)
            digest = (digest ^ static_cast<unsigned char>(m_pending[i])) * kPrime;
        return digest;
    }

private:
    static constexpr std::uint64_t kPrime = 0x100000001b3;

    void addWord(const char* bytes)
    {
        std::uint64_t word;
        std::memcpy(&word, bytes, 8);
        m_digest = (m_digest ^ word) * kPrime;
        m_digest ^= m_digest >> 29;
    }

    std::uint64_t m_digest = 0xcbf29ce484222325;
    std::array<char, 8> m_pending{};
    std::size_t m_pendingSize = 0;
};

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
        throw source::ConnectionError("No snapshot file names the simulated measuring application");
    // The file is always read; only the same bytes as last time skip the parse, and every
    // connection still gets an application of its own in the file's state.
    // The bytes are digested in pieces and, when they changed, parsed in pieces from the file again:
    // never held whole.
    Digest digest;
    std::size_t length = 0;
    source::readSnapshotPieces(*m_snapshot, [&](std::string_view piece) {
        digest.add(piece);
        length += piece.size();
    });
    if (!m_last || m_last->length != length || m_last->digest != digest.value()) {
        m_last.reset(); // a file that fails to parse leaves nothing behind to reuse
        auto record = std::make_shared<source::ApplicationRecord>(source::readSnapshotFile(*m_snapshot));
        m_last = ReadSnapshot{length, digest.value(), record->updatesEnabled, record};
    }
    // Each connection finds the application in the file's state, whatever an earlier one wrote.
    m_last->record->updatesEnabled = m_last->updatesEnabled;
    return std::make_shared<source::MemoryApplication>(m_last->record);
}

} // namespace app
