#include "cli/sample_data.h"
#include "document/field_table.h"
#include "document/file_session.h"
#include "document/text_forms.h"
#include "tests/support/data_files.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(SampleFile, OpensInTheEditorWithEveryFieldShownExactly) {
    testsupport::TempFolder folder;
    const std::string path = folder.file("OBJDAT.dat");
    testsupport::writeFile(path, cli::sampleDataFile(200));

    doc::FileSession session;
    session.open(path);
    ASSERT_EQ(session.table().recordCount(), 200);

    std::set<std::uint32_t> classes;
    int shadows = 0;
    for (int r = 0; r < 200; ++r) {
        const doc::ObjectRecord& record = session.table().records[static_cast<std::size_t>(r)];
        classes.insert(record.fields[0]);
        shadows += record.fields[23] == 1;
        for (const doc::FieldInfo& field : doc::kFields) {
            const std::uint32_t value = record.fields[static_cast<std::size_t>(field.index)];
            if (field.type == doc::FieldType::Flag) {
                EXPECT_LE(value, 1u);
            } else if (field.type == doc::FieldType::Float) {
                // Two decimals hold the whole value, so browsing and editing never round it,
                // and no negative zero hides behind "0.00".
                const float v = record.floatField(field.index);
                EXPECT_EQ(doc::parseFloat(doc::formatFloat(v, "."), "."), v);
                EXPECT_NE(value, 0x80000000u) << field.shortName;
            } else {
                EXPECT_LE(doc::formatUnsigned(value).size(), 6u) << field.shortName;
            }
        }
    }
    EXPECT_TRUE(classes.count(3)); // the class that global scaling leaves out
    EXPECT_GT(classes.size(), 3u);
    EXPECT_GT(shadows, 0);
    EXPECT_LT(shadows, 200);
}

TEST(SampleFile, HasTheCountAndNoMoreBytes) {
    for (const int count : {1, 200, 512}) {
        const auto bytes = cli::sampleDataFile(count);
        EXPECT_EQ(bytes.size(), static_cast<std::size_t>(100 + 100 * count));
        EXPECT_EQ(testsupport::storedCount(bytes), count);
    }
    EXPECT_EQ(cli::sampleDataFile(7), cli::sampleDataFile(7));
    EXPECT_THROW(cli::sampleDataFile(0), std::invalid_argument);
    EXPECT_THROW(cli::sampleDataFile(513), std::invalid_argument);
}

} // namespace
