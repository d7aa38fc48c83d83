#include "document/field_table.h"
#include "document/file_layout.h"
#include "document/text_forms.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

TEST(NamesFilePath, ReplacesTheExtensionOfTheLastPart) {
    EXPECT_EQ(doc::namesFilePath("/games/corvane/OBJDAT.dat"), "/games/corvane/OBJDAT.nam");
    EXPECT_EQ(doc::namesFilePath("OBJDAT.dat"), "OBJDAT.nam");
    EXPECT_EQ(doc::namesFilePath("/data/objects.v2.dat"), "/data/objects.v2.nam");
    EXPECT_EQ(doc::namesFilePath(R"(C:\Games\OBJDAT.DAT)"), R"(C:\Games\OBJDAT.nam)");
    EXPECT_EQ(doc::namesFilePath("/data/objdat."), "/data/objdat.nam");
#ifdef _WIN32
    // A "." counts only after the last "\", "/" and ":".
    EXPECT_EQ(doc::namesFilePath(R"(C:\v1.2\OBJDAT)"), R"(C:\v1.2\OBJDAT.nam)");
    EXPECT_EQ(doc::namesFilePath("A:x.y:OBJDAT"), "A:x.y:OBJDAT.nam");
    EXPECT_EQ(doc::namesFilePath("C:/v1.2/OBJDAT"), "C:/v1.2/OBJDAT.nam");
    EXPECT_EQ(doc::namesFilePath(R"(\\server\v1.2\OBJDAT.DAT)"), R"(\\server\v1.2\OBJDAT.nam)");
#else
    // "\" and ":" are ordinary characters of a file name: only "/" ends a folder.
    EXPECT_EQ(doc::namesFilePath(R"(C:\v1.2\OBJDAT)"), R"(C:\v1.nam)");
    EXPECT_EQ(doc::namesFilePath("A:x.y:OBJDAT"), "A:x.nam");
#endif
}

TEST(NamesFilePath, AppendsWhenTheLastPartHasNoDot) {
    EXPECT_EQ(doc::namesFilePath("/games/corvane/OBJDAT"), "/games/corvane/OBJDAT.nam");
    EXPECT_EQ(doc::namesFilePath("/games/v1.2/OBJDAT"), "/games/v1.2/OBJDAT.nam");
    EXPECT_EQ(doc::namesFilePath("/games/obj:v2"), "/games/obj:v2.nam");
    EXPECT_EQ(doc::namesFilePath(""), ".nam");
}

TEST(NamesFilePath, ANamesFileIsItsOwnNamesFile) {
    EXPECT_EQ(doc::namesFilePath("/games/OBJDAT.nam"), "/games/OBJDAT.nam");
}

TEST(FileLayout, PositionsOfRecordsFieldsAndSlots) {
    EXPECT_EQ(doc::recordOffset(0), 100);
    EXPECT_EQ(doc::recordOffset(3), 400);
    EXPECT_EQ(doc::recordOffset(2) + doc::kFieldSize * 24, 100 + 200 + 96);
    EXPECT_EQ(doc::recordOffset(doc::kTableCapacity), 51'300); // the largest data file
    EXPECT_EQ(doc::nameSlotOffset(5), 150);
    EXPECT_EQ(doc::nameSlotOffset(doc::kTableCapacity), 15'360);
}

TEST(FieldTable, DescribesEachFieldOnceInRecordOrder) {
    std::set<std::string_view> names;
    for (std::size_t k = 0; k < doc::kFields.size(); ++k) {
        const doc::FieldInfo& field = doc::kFields[k];
        EXPECT_EQ(field.index, static_cast<int>(k));
        EXPECT_TRUE(names.insert(field.shortName).second) << field.shortName;
        EXPECT_FALSE(field.shortName.empty());
    }
}

TEST(FieldTable, DefaultsReadBackInTheirFieldsTextForm) {
    int floats = 0;
    int flags = 0;
    for (const doc::FieldInfo& field : doc::kFields) {
        switch (field.type) {
        case doc::FieldType::Unsigned:
            EXPECT_NO_THROW(doc::parseInt32Bits(field.defaultText)) << field.shortName;
            break;
        case doc::FieldType::Float:
            EXPECT_EQ(doc::parseFloat(field.defaultText, "."), 0.0f) << field.shortName;
            ++floats;
            break;
        case doc::FieldType::Flag:
            EXPECT_EQ(field.defaultText, "1") << field.shortName;
            ++flags;
            break;
        }
    }
    EXPECT_EQ(floats, 12);
    EXPECT_EQ(flags, 2);
}

TEST(FieldTable, FieldsThatAreEasyToMixUp) {
    EXPECT_EQ(doc::kFields[3].shortName, "dot_color");
    EXPECT_EQ(doc::kFields[3].defaultText, "176");
    EXPECT_EQ(doc::kFields[4].shortName, "dx_neg");
    EXPECT_EQ(doc::kFields[9].shortName, "dz_pos");
    EXPECT_EQ(doc::kFields[10].defaultText, "10000");
    EXPECT_EQ(doc::kFields[11].defaultText, "1000");
    EXPECT_EQ(doc::kFields[17].shortName, "sx_neg");
    EXPECT_EQ(doc::kFields[24].shortName, "has_flame");
}

TEST(FolderOfPath, EndsAtTheLastSeparator) {
    std::vector<std::pair<std::string, std::string>> cases = {
        {"/home/u/OBJDAT.dat", "/home/u/"}, {"OBJDAT.dat", ""}, {"/home/u/", "/home/u/"}, {"", ""}};
#ifdef _WIN32
    cases.insert(cases.end(), {{"/games/obj:v2.dat", "/games/obj:"},
                               {"/games/a\\b.dat", "/games/a\\"},
                               {"c:\\data\\OBJDAT.dat", "c:\\data\\"},
                               {"c:\\a/b\\c.dat", "c:\\a/b\\"},
                               {"C:OBJDAT.dat", "C:"},
                               {"\\\\server\\share\\OBJDAT.dat", "\\\\server\\share\\"}});
#else
    cases.insert(cases.end(), {{"/games/obj:v2.dat", "/games/"},
                               {"/games/a\\b.dat", "/games/"},
                               {"c:\\data\\OBJDAT.dat", ""},
                               {"c:\\a/b\\c.dat", "c:\\a/"}});
#endif
    for (const auto& [path, folder] : cases)
        EXPECT_EQ(doc::folderOfPath(path), folder) << path;
}

} // namespace
