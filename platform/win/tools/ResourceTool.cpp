// kestrune-rsrc: writes resources from a resource list.
//
//   kestrune-rsrc rsr <list> <output.rsr> [--depfile <file>]
//       a resource file for the host toolbox
//   kestrune-rsrc module-source <list> <output.cpp> [--depfile <file>]
//       a source file that compiles the resources into the module that it is built into
//
// The depfile names the list and every file that it reads, for the build's dependency scan.

#include "ElfNotes.h"
#include "ResourceContainer.h"
#include "ResourceList.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace
{

using namespace kestrune::win;

std::string readText (const std::filesystem::path& path)
{
    std::ifstream in (path, std::ios::binary);
    if (! in)
        throw std::runtime_error ("cannot read " + path.string());
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeBytes (const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream out (path, std::ios::binary | std::ios::trunc);
    out.write (bytes.data(), std::streamsize (bytes.size()));
    if (! out)
        throw std::runtime_error ("cannot write " + path.string());
}

// The resources as the descriptor of an ELF note in a note section of their own.
std::string moduleSource (const std::vector<uint8_t>& container, const std::filesystem::path& list)
{
    constexpr size_t ownerSize = sizeof kResourceNoteOwner;
    const size_t paddedOwner = (ownerSize + 3) / 4 * 4;
    const size_t paddedSize = (container.size() + 3) / 4 * 4;
    std::ostringstream out;
    out << "// Written by kestrune-rsrc from " << list.filename().string() << "; do not edit.\n"
        << "#include <cstdint>\n\nnamespace {\n\n"
        << "struct alignas(4) ResourceNote\n{\n"
        << "    uint32_t ownerSize;\n    uint32_t descriptorSize;\n    uint32_t type;\n"
        << "    char owner[" << paddedOwner << "];\n"
        << "    unsigned char descriptor[" << paddedSize << "];\n};\n\n"
        << "__attribute__((section(\".note.kestrune.resources\"), used, aligned(4)))\n"
        << "const ResourceNote moduleResources = {\n"
        << "    " << ownerSize << ", " << container.size() << ", 0x" << std::hex << kResourceNoteType << std::dec
        << ", \"" << kResourceNoteOwner << "\",\n    {";
    for (size_t i = 0; i < container.size(); ++i)
        out << (i % 16 == 0 ? "\n        " : " ") << unsigned (container[i]) << ",";
    out << "\n    }};\n\n} // namespace\n";
    return out.str();
}

std::string escapeDependency (const std::string& path)
{
    std::string escaped;
    for (char c : path)
    {
        if (c == ' ' || c == '#' || c == '\\')
            escaped += '\\';
        escaped += c;
    }
    return escaped;
}

int run (int argc, char** argv)
{
    if (argc != 4 && ! (argc == 6 && std::string (argv[4]) == "--depfile"))
    {
        std::cerr << "usage: kestrune-rsrc rsr|module-source <list> <output> [--depfile <file>]\n";
        return 2;
    }
    const std::string mode = argv[1];
    const std::filesystem::path listPath = std::filesystem::absolute (argv[2]);
    const std::filesystem::path output = argv[3];
    if (mode != "rsr" && mode != "module-source")
    {
        std::cerr << "kestrune-rsrc: unknown mode " << mode << "\n";
        return 2;
    }
    ResourceList list;
    try
    {
        list = parseResourceList (readText (listPath), listPath.parent_path());
    }
    catch (const std::exception& error)
    {
        std::cerr << listPath.string() << ": " << error.what() << "\n";
        return 1;
    }
    const auto container = writeResourceContainer (list.entries);
    if (mode == "rsr")
        writeBytes (output, std::string (container.begin(), container.end()));
    else
        writeBytes (output, moduleSource (container, listPath));

    if (argc == 6)
    {
        std::string rule = escapeDependency (output.string()) + ": " + escapeDependency (listPath.string());
        for (const auto& input : list.inputFiles)
            rule += " " + escapeDependency (std::filesystem::absolute (input).string());
        writeBytes (argv[5], rule + "\n");
    }
    return 0;
}

} // namespace

int main (int argc, char** argv)
{
    try
    {
        return run (argc, argv);
    }
    catch (const std::exception& error)
    {
        std::cerr << "kestrune-rsrc: " << error.what() << "\n";
        return 1;
    }
}
