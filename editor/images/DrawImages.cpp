// Draws the editor's pictures into a folder as PNG files:
//   kestrune_draw_images <folder>
// The committed files under editor/images are this program's output; the build embeds
// those and never runs it.

#include "KestruneArtwork.h"

#include <iostream>

int main (int argc, char** argv)
{
    if (argc != 2)
    {
        std::cerr << "usage: kestrune_draw_images <output folder>\n";
        return 2;
    }

    const juce::File folder = juce::File::getCurrentWorkingDirectory().getChildFile (argv[1]);
    if (! folder.createDirectory())
    {
        std::cerr << "cannot create " << folder.getFullPathName() << "\n";
        return 1;
    }

    for (const auto& picture : KestruneArtwork::pictures())
    {
        const auto file = folder.getChildFile (picture.fileName);
        const auto png = KestruneArtwork::encodePng (picture.draw());

        if (! file.replaceWithData (png.getData(), png.getSize()))
        {
            std::cerr << "cannot write " << file.getFullPathName() << "\n";
            return 1;
        }

        std::cout << file.getFullPathName() << "\n";
    }

    return 0;
}
