// The version queries of descriptions in a module that carries a version block (this program's,
// compiled in as 2.7.1.9).

#include "ViewTestSupport.h"

#include "views/description/CViewDescriptionReader.h"
#include "views/description/PlugInVersion.h"

namespace
{

TEST (PlugInVersion, TheQueriesGiveTheModulesFileVersion)
{
    EXPECT_EQ (PlugInVersionText(), "2.7.1.9");
    const std::string text = "shortVersion (longVersion)";
    const SDialogItem item { {}, 4, reinterpret_cast<const uint8_t*> (text.data()), text.size() };
    CViewDescriptionReader reader (item);
    reader.Read();
    const SDescriptionNode* shortVersion = reader.GetHead();
    ASSERT_NE (shortVersion, nullptr);
    ASSERT_EQ (shortVersion->kind, kNodeString);
    const uint8_t* text1 = NodeText (*shortVersion);
    EXPECT_EQ (std::string (reinterpret_cast<const char*> (text1 + 1), text1[0]), "2.7.1.9");
    const SDescriptionNode* list = shortVersion->next;
    ASSERT_NE (list, nullptr);
    const SDescriptionNode* longVersion = ListNodes (*list);
    ASSERT_NE (longVersion, nullptr);
    ASSERT_EQ (longVersion->kind, kNodeString);
    const uint8_t* text2 = NodeText (*longVersion);
    EXPECT_EQ (std::string (reinterpret_cast<const char*> (text2 + 1), text2[0]), "2.7.1.9");
}

} // namespace
