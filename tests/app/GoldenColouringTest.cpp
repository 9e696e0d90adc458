// Golden colouring files: a sample list of every kind (CP932, as the game's tools write them) in
// tests/lists/golden beside its token dump, one dump line per list line, each token as
// "start-end:Kind" (bytes, end exclusive; Kind the name of the colour that paints it, or its number
// for a kind without one). The lists are coloured as the program colours them: read by the list
// reader, recognised by kind, and given the colourer the program makes for that kind.
//
// After an intended change, regenerate the dumps with scripts/regenerate-golden-colouring and review
// the difference. The same test colours every sample at every wrap width from 8 to 120 and checks
// that every byte gets the kind it has unwrapped: there is no exception, since the enemy lists pair
// their brackets within the logical line, over its wraps.
#include "ColourerTestUtils.h"
#include "GoldenSamples.h"
#include "KindProperties.h"
#include "ListKinds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace quillon;
using namespace quillon::test;
namespace fs = std::filesystem;

namespace {

std::string KindName(const TOrvColourer& colourer, int kind) {
    for (int i = 0; i < colourer.ColorCount(); ++i)
        if (colourer.ColorInfoAt(i).Kind == kind) return colourer.ColorInfoAt(i).Name;
    return std::to_string(kind);
}

// The dump of Lines: each line parsed in the state the colouring framework gives it.
std::string TokenDump(TOrvColourer& colourer, const std::vector<std::string>& lines) {
    TRowAttributeStringList store;
    std::vector<TRow> rows;
    for (const std::string& line : lines) rows.push_back({line});
    FillStore(store, colourer, rows);
    std::ostringstream dump;
    auto parser = colourer.CreateParser();
    for (int i = 0; i < store.Count(); ++i) {
        const std::string row(store.Get(i));
        parser->NewData(row.c_str(), store.GetRowAttributeData(i));
        const char* separator = "";
        while (parser->NextToken() != tkEnd) {
            dump << separator << parser->SourcePos() << '-' << parser->SourcePos() + parser->TokenLength() << ':'
                 << KindName(colourer, parser->TokenKind());
            separator = " ";
        }
        dump << '\n';
    }
    return dump.str();
}

std::string Contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(GoldenColouring, EveryKindHasASampleThatColoursAsItsDump) {
    const bool regenerate = std::getenv("QUILLON_REGENERATE_GOLDEN") != nullptr;
    std::vector<int> kinds;
    for (const TSample& sample : GoldenSamples()) {
        SCOPED_TRACE(sample.Path.filename().string());
        std::unique_ptr<TOrvColourer> colourer = CreateKindColourer(sample.Kind);
        ASSERT_TRUE(colourer) << "not a list of a kind with a colourer";
        EXPECT_EQ(colourer->ClassName(), ListKindInfo(sample.Kind).ColourerClass);
        kinds.push_back(sample.Kind);
        const fs::path dumpPath = fs::path(sample.Path) += ".tokens";
        const std::string dump = TokenDump(*colourer, sample.Lines);
        if (regenerate) std::ofstream(dumpPath, std::ios::binary) << dump;
        EXPECT_EQ(dump, Contents(dumpPath));
    }
    std::sort(kinds.begin(), kinds.end());
    std::vector<int> listKinds;
    for (int kind = lkMotion; kind < kListKindCount; ++kind) listKinds.push_back(kind);
    EXPECT_EQ(kinds, listKinds);
}

TEST(GoldenColouring, EverySampleColoursAlikeAtEveryWrapWidth) {
    for (const TSample& sample : GoldenSamples()) {
        std::unique_ptr<TOrvColourer> colourer = CreateKindColourer(sample.Kind);
        ASSERT_TRUE(colourer) << sample.Path;
        for (std::size_t width = 8; width <= 120; ++width) {
            const std::string difference = WrapDifference(*colourer, sample.Lines, width);
            ASSERT_TRUE(difference.empty()) << sample.Path.filename() << ": " << difference;
        }
    }
}

// A paint far below the computed rows takes provisional states: rows scanned from the start of a
// logical line a few rows above, in the initial state. List parsers start every line afresh and list
// colourers have no brackets, so every sample paints from them as from its exact states.
TEST(GoldenColouring, EverySamplePaintsFromProvisionalStatesAsFromItsExactOnes) {
    constexpr int screen = 4; // a line of the samples has at most 5 rows at width 40
    for (const TSample& sample : GoldenSamples()) {
        std::unique_ptr<TOrvColourer> colourer = CreateKindColourer(sample.Kind);
        ASSERT_TRUE(colourer) << sample.Path;
        for (std::size_t width : {std::size_t(1) << 20, std::size_t(40)}) {
            TRowAttributeStringList store;
            FillStore(store, *colourer, CutRows(sample.Lines, width));
            for (int row = 0; row < store.Count(); ++row) {
                TProvisionalStates provisional;
                provisional.Compute(store, *colourer, row, screen);
                for (int r = std::max(row - screen, 0); r <= std::min(row + screen, store.Count() - 1); ++r) {
                    const TRowAttributeData* state = provisional.Find(r);
                    ASSERT_TRUE(state);
                    ASSERT_EQ(RowKinds(*colourer, store, r, *state), RowKinds(*colourer, store, r))
                        << sample.Path.filename() << " width " << width << ": row " << r << " from row " << row;
                }
            }
        }
    }
}

} // namespace
