#include "ResourceList.h"

#include "VersionBlock.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <iterator>
#include <optional>
#include <stdexcept>

namespace kestrune::win
{

namespace
{

    std::vector<std::string> tokenize (std::string_view line)
    {
        std::vector<std::string> tokens;
        size_t i = 0;
        while (i < line.size())
        {
            if (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')
            {
                ++i;
                continue;
            }
            std::string token;
            if (line[i] != '"')
            {
                while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r')
                    token += line[i++];
                tokens.push_back (std::move (token));
                continue;
            }
            ++i;
            bool closed = false;
            while (i < line.size())
            {
                const char c = line[i++];
                if (c == '"')
                {
                    closed = true;
                    break;
                }
                if (c != '\\')
                {
                    token += c;
                    continue;
                }
                if (i >= line.size())
                    throw std::runtime_error ("escape at the end of the line");
                const char e = line[i++];
                switch (e)
                {
                    case 'n': token += '\n'; break;
                    case 't': token += '\t'; break;
                    case '"': token += '"'; break;
                    case '\\': token += '\\'; break;
                    case 'x':
                    {
                        unsigned value = 0;
                        if (i + 2 > line.size() || std::from_chars (line.data() + i, line.data() + i + 2, value, 16).ptr != line.data() + i + 2)
                            throw std::runtime_error ("\\x needs two hex digits");
                        token += char (value);
                        i += 2;
                        break;
                    }
                    default: throw std::runtime_error (std::string ("unknown escape \\") + e);
                }
            }
            if (! closed)
                throw std::runtime_error ("unterminated quoted text");
            tokens.push_back (std::move (token));
        }
        return tokens;
    }

    template <typename Number>
    Number parseNumber (const std::string& token, int base, const char* what)
    {
        Number value {};
        const auto [end, error] = std::from_chars (token.data(), token.data() + token.size(), value, base);
        if (error != std::errc() || end != token.data() + token.size() || token.empty())
            throw std::runtime_error (std::string ("bad ") + what + ": " + token);
        return value;
    }

    std::array<uint16_t, 4> parseVersion (const std::string& token)
    {
        std::array<uint16_t, 4> parts {};
        size_t start = 0;
        for (size_t part = 0; part < 4; ++part)
        {
            const size_t dot = token.find ('.', start);
            const bool last = part == 3;
            if ((dot == std::string::npos) != last)
                throw std::runtime_error ("a version has four numbers: " + token);
            parts[part] = parseNumber<uint16_t> (token.substr (start, last ? std::string::npos : dot - start), 10, "version number");
            start = dot + 1;
        }
        return parts;
    }

    std::vector<uint8_t> readFile (const std::filesystem::path& path)
    {
        std::ifstream in (path, std::ios::binary);
        if (! in)
            throw std::runtime_error ("cannot read " + path.string());
        return std::vector<uint8_t> (std::istreambuf_iterator<char> (in), std::istreambuf_iterator<char>());
    }

    void requireArguments (const std::vector<std::string>& tokens, size_t count, const char* usage)
    {
        if (tokens.size() < count)
            throw std::runtime_error (std::string ("usage: ") + usage);
    }

    ResourceEntry parseResource (const std::vector<std::string>& tokens, const std::filesystem::path& base,
                                 ResourceList& list)
    {
        constexpr const char* usage = "resource <type> <id> [named <name>] file|hex|text|strings ...";
        requireArguments (tokens, 4, usage);
        ResourceEntry entry;
        entry.type = tokens[1];
        entry.id = parseNumber<int32_t> (tokens[2], 10, "resource id");
        size_t at = 3;
        if (tokens[at] == "named")
        {
            requireArguments (tokens, at + 3, usage);
            entry.name = tokens[at + 1];
            at += 2;
        }
        const std::string& kind = tokens[at++];
        const std::vector<std::string> arguments (tokens.begin() + std::ptrdiff_t (at), tokens.end());
        if (kind == "file")
        {
            if (arguments.size() != 1)
                throw std::runtime_error ("file takes one path");
            const std::filesystem::path given (arguments[0]);
            const std::filesystem::path path = given.is_absolute() ? given : base / given;
            entry.data = readFile (path);
            list.inputFiles.push_back (path);
        }
        else if (kind == "hex")
        {
            for (const auto& argument : arguments)
                for (const auto& byte : tokenize (argument))
                {
                    if (byte.size() != 2)
                        throw std::runtime_error ("hex bytes have two digits: " + byte);
                    entry.data.push_back (parseNumber<uint8_t> (byte, 16, "hex byte"));
                }
        }
        else if (kind == "text")
        {
            if (arguments.size() != 1)
                throw std::runtime_error ("text takes one text");
            entry.data.assign (arguments[0].begin(), arguments[0].end());
        }
        else if (kind == "strings")
            entry.data = writeStringList (arguments);
        else
            throw std::runtime_error ("unknown resource content: " + kind);
        return entry;
    }

} // namespace

std::vector<uint8_t> writeStringList (const std::vector<std::string>& strings)
{
    if (strings.size() > 0x7FFF)
        throw std::runtime_error ("too many strings in one list");
    std::vector<uint8_t> data { uint8_t (strings.size() >> 8), uint8_t (strings.size()) };
    for (const auto& text : strings)
    {
        if (text.size() > 255)
            throw std::runtime_error ("a listed string has at most 255 characters");
        data.push_back (uint8_t (text.size()));
        data.insert (data.end(), text.begin(), text.end());
    }
    return data;
}

ResourceList parseResourceList (std::string_view text, const std::filesystem::path& baseDirectory)
{
    ResourceList list;
    VersionInfo version;
    bool hasVersion = false;
    size_t lineNumber = 0;
    size_t start = 0;
    while (start <= text.size())
    {
        const size_t end = std::min (text.find ('\n', start), text.size());
        const std::string_view line = text.substr (start, end - start);
        start = end + 1;
        ++lineNumber;
        try
        {
            const size_t first = line.find_first_not_of (" \t\r");
            if (first == std::string_view::npos || line[first] == '#')
                continue;
            const auto tokens = tokenize (line);
            const std::string& directive = tokens[0];
            if (directive == "version")
            {
                if (tokens.size() != 2 && tokens.size() != 3)
                    throw std::runtime_error ("usage: version <file a.b.c.d> [<product a.b.c.d>]");
                version.fileVersion = parseVersion (tokens[1]);
                version.productVersion = tokens.size() == 3 ? parseVersion (tokens[2]) : version.fileVersion;
                hasVersion = true;
            }
            else if (directive == "translation")
            {
                if (tokens.size() != 3)
                    throw std::runtime_error ("usage: translation <language hex> <code page hex>");
                version.translations.push_back ({ parseNumber<uint16_t> (tokens[1], 16, "language"),
                                                  parseNumber<uint16_t> (tokens[2], 16, "code page") });
                hasVersion = true;
            }
            else if (directive == "string")
            {
                if (tokens.size() != 3)
                    throw std::runtime_error ("usage: string <name> <value>");
                version.strings.emplace_back (tokens[1], tokens[2]);
                hasVersion = true;
            }
            else if (directive == "resource")
                list.entries.push_back (parseResource (tokens, baseDirectory, list));
            else
                throw std::runtime_error ("unknown directive: " + directive);
        }
        catch (const std::exception& error)
        {
            throw std::runtime_error ("line " + std::to_string (lineNumber) + ": " + error.what());
        }
    }
    if (hasVersion)
    {
        if (version.translations.empty() && ! version.strings.empty())
            version.translations.push_back ({});
        list.entries.push_back ({ "#16", 1, "", writeVersionBlock (version) });
    }
    return list;
}

} // namespace kestrune::win
