// A real saved state (both chunks) damaged many ways and handed to KESTrune.aaxplugin through
// SetChunk, with a fixed seed so that a failure reproduces. Each chunk lies in memory exactly as
// large as its header says, so the sanitized build catches any read past it. Every parameter
// stays in [0, 1]; a state block whose text is not UTF-8 or whose magic is wrong changes nothing.
#include "PluginTestSupport.h"

#include <cmath>
#include <cstring>
#include <random>

namespace
{
using namespace plugin_test;
using Bytes = std::vector<uint8_t>;

constexpr size_t kHeaderSize = sizeof (AAX_SPlugInChunkHeader);
constexpr size_t kStateHeaderSize = 8; // the state block's magic and text length

enum class Damage
{
    none,
    notUtf8, // bytes outside UTF-8 within the state text
    flippedBits,
    truncated,
    extended,
    innerLength, // the state text's length, or the controls chunk's marker
    sizeField, // the header's size against the memory there is
    swappedIdentifier,
    randomData,
    count
};

struct DamagedChunk
{
    Bytes bytes; // header and data
    bool mustBeRefused = false;
};

std::vector<double> HostValues (const HostInstance& instance)
{
    int32_t count = 0;
    instance.Parameters().GetNumberOfParameters (&count);
    std::vector<double> values;
    for (int32_t index = 0; index < count; ++index)
        values.push_back (NormalizedValue (instance, ParameterId (instance, index)));
    return values;
}

// Values the processor keeps as they are (ratio in tenths, knee and bypass on or off), so that
// the host's values and the processor's agree before a chunk arrives.
void SetRandomValues (HostInstance& instance, std::mt19937& random)
{
    for (int index = 0; index < 10; ++index)
    {
        const bool onOff = index == 4 || index == 9;
        const double value = onOff ? double (random() % 2) : index == 3 ? double (random() % 11) / 10.0
                                                                        : double (random() % 1001) / 1000.0;
        instance.Parameters().SetParameterNormalizedValue (std::to_string (index).c_str(), value);
    }
    instance.Parameters().SetParameterNormalizedValue ("MasterBypassID", double (random() % 2));
}

// The host keeps doubles, the processor floats: a value that went through the processor
// differs from the host's in the float's last place.
constexpr double kFloatTolerance = 1e-6;

bool SameValues (const std::vector<double>& a, const std::vector<double>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::abs (a[i] - b[i]) > kFloatTolerance)
            return false;
    return true;
}

uint8_t NotUtf8 (std::mt19937& random)
{
    const uint8_t bytes[] = { 0x80, 0xbf, 0xc0, 0xc3, 0xe2, 0xf0, 0xf4, 0xf8, 0xfe, 0xff };
    return bytes[random() % sizeof (bytes)];
}

AAX_SPlugInChunkHeader& HeaderOf (Bytes& bytes)
{
    return *reinterpret_cast<AAX_SPlugInChunkHeader*> (bytes.data());
}

// Sets the data to the given size, new bytes random, and the header's size with it.
void ResizeData (Bytes& bytes, size_t dataSize, std::mt19937& random)
{
    const size_t old = bytes.size();
    bytes.resize (kHeaderSize + dataSize);
    for (size_t i = old; i < bytes.size(); ++i)
        bytes[i] = random() % 2 == 0 ? uint8_t (random()) : NotUtf8 (random);
    HeaderOf (bytes).fSize = int32_t (dataSize);
}

DamagedChunk Damaged (const ChunkRecord& saved, const ChunkRecord& other, Damage damage, std::mt19937& random)
{
    DamagedChunk chunk { saved.Bytes() };
    const bool isState = saved.Header()->fChunkID == kJuceChunk;
    const size_t dataSize = chunk.bytes.size() - kHeaderSize;
    uint8_t* data = chunk.bytes.data() + kHeaderSize;
    switch (damage)
    {
        case Damage::none:
        case Damage::count:
            break;
        case Damage::notUtf8:
        {
            // The state's text lies between its header and its closing zero byte.
            const size_t first = isState ? kStateHeaderSize : 0;
            const size_t end = isState ? dataSize - 1 : dataSize;
            // Often among the text's last bytes, where a lead byte announces bytes past its end.
            for (uint32_t n = 1 + random() % 3; n > 0; --n)
                data[random() % 2 == 0 ? end - 1 - random() % 3 : first + random() % (end - first)] = NotUtf8 (random);
            chunk.mustBeRefused = isState;
            break;
        }
        case Damage::flippedBits:
            for (uint32_t n = 1 + random() % 4; n > 0; --n)
                data[random() % dataSize] ^= uint8_t (1u << (random() % 8));
            break;
        case Damage::truncated:
            ResizeData (chunk.bytes, random() % dataSize, random);
            break;
        case Damage::extended:
            ResizeData (chunk.bytes, dataSize + 1 + random() % 64, random);
            break;
        case Damage::innerLength:
            if (isState)
            {
                const uint32_t length = random() % 3 == 0 ? uint32_t (random()) : uint32_t (random() % (dataSize + 16));
                for (size_t i = 0; i < 4; ++i)
                    data[4 + i] = uint8_t (length >> (8 * i));
                data[dataSize - 1] = uint8_t (random());
            }
            else
                data[random() % 4] = uint8_t (random());
            break;
        case Damage::sizeField:
            // Either more bytes than the data, which the host then holds, or fewer or none.
            if (random() % 2 == 0)
                ResizeData (chunk.bytes, dataSize + 1 + random() % 300, random);
            else
            {
                const auto fewer = int32_t (random() % (dataSize + 1));
                const auto below = random() % 2 == 0 ? int32_t (random() % 1000) : 0;
                HeaderOf (chunk.bytes).fSize = fewer - below;
            }
            break;
        case Damage::swappedIdentifier:
            chunk.bytes = other.Bytes();
            HeaderOf (chunk.bytes).fChunkID = saved.Header()->fChunkID;
            // The controls chunk's data never starts with the state block's magic.
            chunk.mustBeRefused = isState;
            break;
        case Damage::randomData:
            ResizeData (chunk.bytes, 0, random);
            ResizeData (chunk.bytes, random() % 300, random);
            if (isState && random() % 2 == 0 && chunk.bytes.size() >= kHeaderSize + 4)
                std::memcpy (chunk.bytes.data() + kHeaderSize, "VC2!", 4);
            break;
    }
    return chunk;
}

// The memory the host hands over: the header and exactly the data its size field covers,
// unless the damage left more bytes than that.
Bytes HandedOver (const Bytes& bytes)
{
    const int32_t size = reinterpret_cast<const AAX_SPlugInChunkHeader*> (bytes.data())->fSize;
    return Bytes (bytes.begin(), bytes.begin() + std::ptrdiff_t (std::max (bytes.size(), kHeaderSize + size_t (std::max (size, 0)))));
}

TEST (AAXPluginSavedStateDamage, DamagedChunksAreReadSafely)
{
    LoadedPlugin plugin;
    auto source = plugin.NewInstance();
    auto target = plugin.NewInstance();
    std::mt19937 random (20261228u);
    std::vector<ChunkRecord> saved;
    int refused = 0, changed = 0;
    for (int round = 0; round < 10000; ++round)
    {
        if (round % 4 == 0)
        {
            SetRandomValues (*source, random);
            saved.clear();
            ASSERT_EQ (source->SaveAllChunks (saved), AAX_SUCCESS);
            ASSERT_EQ (saved.size(), 2u);
        }
        const size_t which = random() % 2;
        const auto damage = Damage (random() % uint32_t (Damage::count));
        const DamagedChunk chunk = Damaged (saved[which], saved[1 - which], damage, random);
        const Bytes handed = HandedOver (chunk.bytes);

        SetRandomValues (*target, random);
        const auto before = HostValues (*target);
        const auto* header = reinterpret_cast<const AAX_SPlugInChunkHeader*> (handed.data());
        target->Parameters().SetChunk (header->fChunkID, header);
        const auto after = HostValues (*target);

        ASSERT_EQ (after.size(), before.size());
        for (size_t i = 0; i < after.size(); ++i)
            ASSERT_TRUE (after[i] >= 0.0 && after[i] <= 1.0) << "round " << round << ", parameter " << i << ": " << after[i];
        if (chunk.mustBeRefused)
        {
            ASSERT_TRUE (SameValues (after, before)) << "round " << round;
        }
        if (damage == Damage::none)
        {
            // The master bypass is in neither chunk; every other value comes back.
            const auto expected = HostValues (*source);
            for (size_t i = 1; i < after.size(); ++i)
                ASSERT_NEAR (after[i], expected[i], kFloatTolerance) << "round " << round << ", parameter " << i;
        }
        ++(SameValues (after, before) ? refused : changed);
    }
    // The damage leaves many chunks readable and makes many unreadable.
    EXPECT_GT (changed, 2000);
    EXPECT_GT (refused, 2000);
}
} // namespace
