#pragma once
// Resource files that a test writes for the plug-in at run time (beside a module path of its own
// in the build's scratch folder), and the bytes of the toolbox resources that views are built
// from: dialog-item lists, dialogs, pictures, icons, control templates and pixel patterns, in the
// machine's byte order as the toolbox hands them out.

#include "process/utilities/HostExtToolbox.h"
#include "process/utilities/PlugInFileRecord.h"
#include "process/utilities/ScopedPlugInResFile.h"

#include <win/ResourceContainer.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

inline void Append16 (Bytes& bytes, int32_t value)
{
    const auto word = static_cast<uint16_t> (value);
    bytes.push_back (uint8_t (word & 0xFF));
    bytes.push_back (uint8_t (word >> 8));
}

inline void AppendRect (Bytes& bytes, const Rect& r)
{
    for (int16_t edge : { r.top, r.left, r.bottom, r.right })
        Append16 (bytes, edge);
}

inline void Append32 (Bytes& bytes, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back (uint8_t (value >> shift));
}

// One item of a dialog-item list.
struct SItem
{
    Rect bounds;
    uint8_t type;
    Bytes data;
};

inline SItem TextItem (Rect bounds, uint8_t type, const std::string& text)
{
    return { bounds, type, Bytes (text.begin(), text.end()) };
}

// An item whose data is one 16-bit id (icons, pictures, control templates).
inline SItem IdItem (Rect bounds, uint8_t type, int16_t id)
{
    Bytes data;
    Append16 (data, id);
    return { bounds, type, data };
}

inline Bytes ItemListBytes (const std::vector<SItem>& items)
{
    Bytes bytes;
    Append16 (bytes, int32_t (items.size()) - 1);
    for (const SItem& item : items)
    {
        Append32 (bytes, 0);
        AppendRect (bytes, item.bounds);
        bytes.push_back (item.type);
        bytes.push_back (uint8_t (item.data.size()));
        bytes.insert (bytes.end(), item.data.begin(), item.data.end());
        if (item.data.size() % 2 != 0)
            bytes.push_back (0);
    }
    return bytes;
}

// A dialog: its rectangle, then the bytes up to the item-list id at byte 18.
inline Bytes DialogBytes (Rect bounds, int16_t itemList)
{
    Bytes bytes;
    AppendRect (bytes, bounds);
    bytes.resize (18, 0);
    Append16 (bytes, itemList);
    return bytes;
}

// A picture of one colour (an opaque 0xAARRGGBB pixel), width x height pixels.
inline Bytes PictureBytes (int16_t width, int16_t height, uint32_t pixel)
{
    Bytes bytes;
    Append16 (bytes, 0);
    AppendRect (bytes, { 0, 0, height, width });
    for (int i = 0; i < width * height; ++i)
        Append32 (bytes, pixel);
    return bytes;
}

// A 32 x 32 one-bit icon whose set pixels are the top `rows` rows.
inline Bytes IconBytes (int rows)
{
    Bytes bytes (128, 0);
    for (int row = 0; row < rows && row < 32; ++row)
        for (int column = 0; column < 4; ++column)
            bytes[size_t (row * 4 + column)] = 0xFF;
    return bytes;
}

inline Bytes ControlTemplateBytes (Rect bounds, int16_t kind, const std::string& title)
{
    Bytes bytes;
    AppendRect (bytes, bounds);
    Append16 (bytes, 0); // value
    Append16 (bytes, 0); // minimum
    Append16 (bytes, 1); // maximum
    Append16 (bytes, kind);
    bytes.push_back (1); // visible
    bytes.push_back (0);
    Append32 (bytes, 0); // reference
    bytes.push_back (uint8_t (title.size()));
    bytes.insert (bytes.end(), title.begin(), title.end());
    return bytes;
}

// A pixel pattern of width x height pixels, row by row.
inline Bytes PatternBytes (int16_t width, int16_t height, const std::vector<uint32_t>& pixels)
{
    Bytes bytes;
    Append16 (bytes, width);
    Append16 (bytes, height);
    for (uint32_t pixel : pixels)
        Append32 (bytes, pixel);
    return bytes;
}

struct SResource
{
    const char* type;
    int16_t id;
    Bytes data;
};

// Writes the resource file "<scratch>/<name>.dpm.rsr" and makes "<scratch>/<name>.dpm" the
// plug-in's file; nothing holds it open. Answers the file spec.
inline FSSpec WritePlugInResources (const std::string& name, const std::vector<SResource>& resources)
{
    const std::string module = std::string (KESTRUNE_VIEW_SCRATCH) + "/" + name + ".dpm";
    std::vector<kestrune::win::ResourceEntry> entries;
    for (const SResource& resource : resources)
        entries.push_back ({ std::string (resource.type, 4), resource.id, "", resource.data });
    const auto bytes = kestrune::win::writeResourceContainer (entries);
    std::ofstream (module + ".rsr", std::ios::binary | std::ios::trunc).write (reinterpret_cast<const char*> (bytes.data()), std::streamsize (bytes.size()));
    FSSpec spec {};
    std::strncpy (spec.path, module.c_str(), sizeof spec.path - 1);
    SetPlugInFileSpec (spec);
    return spec;
}

// The plug-in's resource file of WritePlugInResources, kept open and held while the object lives
// as the plug-in's open procedure keeps it. The toolbox must be installed.
class ScopedPlugInResources
{
public:
    ScopedPlugInResources (const std::string& name, const std::vector<SResource>& resources)
    {
        const FSSpec spec = WritePlugInResources (name, resources);
        fFile = HostToolbox().FSpOpenResFile (&spec, fsRdPerm);
        EXPECT_GT (fFile, 0) << spec.path;
        SetModulePlugInResFile (fFile);
    }

    ~ScopedPlugInResources()
    {
        SetModulePlugInResFile (0);
        if (fFile > 0)
            HostToolbox().CloseResFile (fFile);
    }

    ScopedPlugInResources (const ScopedPlugInResources&) = delete;
    ScopedPlugInResources& operator= (const ScopedPlugInResources&) = delete;

private:
    int16_t fFile = -1;
};
