// Finding a module's resource note in its file, also in damaged files.

#include <win/ElfNotes.h>
#include <win/ResourceContainer.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>

namespace
{

using namespace kestrune::win;

std::vector<uint8_t> moduleImage()
{
    std::ifstream in (KESTRUNE_TEST_MODULE, std::ios::binary);
    return std::vector<uint8_t> (std::istreambuf_iterator<char> (in), std::istreambuf_iterator<char>());
}

TEST (ElfNotes, TheResourceNoteOfABuiltModuleHoldsItsContainer)
{
    const auto image = moduleImage();
    const auto note = findResourceNoteInFile (image);
    ASSERT_TRUE (note);
    const auto container = ResourceContainerView::parse (*note);
    ASSERT_TRUE (container);
    EXPECT_EQ (container->entries().size(), 3u);
}

TEST (ElfNotes, OtherOwnersAndTypesAreSkipped)
{
    // Two notes padded to 4: owner "GNU" type 3, then ours.
    std::vector<uint8_t> notes = { 4, 0, 0, 0, 4, 0, 0, 0, 3, 0, 0, 0, 'G', 'N', 'U', 0, 1, 2, 3, 4,
                                   9, 0, 0, 0, 2, 0, 0, 0, 'R', 'S', 'R', 'K', 'K', 'E', 'S', 'T', 'r', 'u', 'n', 'e', 0, 0, 0, 0, 0xAA, 0xBB, 0, 0 };
    const auto found = findResourceNote (notes, 4);
    ASSERT_TRUE (found);
    EXPECT_EQ (std::vector<uint8_t> (found->begin(), found->end()), (std::vector<uint8_t> { 0xAA, 0xBB }));
    EXPECT_TRUE (findResourceNote (notes, 32)) << "a segment aligned beyond 8 pads its notes to 4";
    EXPECT_FALSE (findResourceNote (notes, 8));
    notes[28] = 'X';
    EXPECT_FALSE (findResourceNote (notes, 4));
}

TEST (ElfNotes, DamagedFilesAreReadSafely)
{
    const auto good = moduleImage();
    ASSERT_GT (good.size(), 512u);
    std::mt19937 random (4104);
    for (int round = 0; round < 1500; ++round)
    {
        auto image = good;
        // Damage the headers, where the reader looks first.
        for (int c = 0; c < 4; ++c)
            image[random() % 512] = uint8_t (random());
        if (random() % 3 == 0)
            image.resize (random() % image.size());
        if (const auto note = findResourceNoteInFile (image))
        {
            EXPECT_GE (note->data(), image.data());
            EXPECT_LE (note->data() + note->size(), image.data() + image.size());
        }
    }
    EXPECT_FALSE (findResourceNoteInFile (std::vector<uint8_t> { 0x7F, 'E', 'L', 'F' }));
}

} // namespace
