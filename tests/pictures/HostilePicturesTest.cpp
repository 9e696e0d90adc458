// Tiny picture files that ask for enormous pictures: every reader, conversion and collector refuses
// them before it allocates more than the picture-size rule allows.
#include "CharImages.h"
#include "HostileFixtures.h"
#include "PatMake.h"
#include "PatMakeFixtures.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <new>

// The largest single allocation asked for since the last reset, seen through the replaced global
// allocation functions of this test program.
namespace {
std::atomic<std::size_t> LargestAllocation{0};

void* Allocate(std::size_t size) {
    std::size_t seen = LargestAllocation.load();
    while (size > seen && !LargestAllocation.compare_exchange_weak(seen, size)) {
    }
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
} // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return Allocate(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

using namespace quillon;
using namespace quillon::test;
using quillon::testing::TTempDir;

namespace {

// The most any refusal may cost: one picture at the rule's limit, four bytes a pixel.
constexpr std::size_t AllocationBound = 4 * static_cast<std::size_t>(MaxPicturePixels);

class HostilePictureFiles : public ::testing::Test {
protected:
    std::filesystem::path Write(const THostilePicture& picture) {
        std::filesystem::path path = Dir / picture.Name;
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(picture.Bytes.data()),
                   static_cast<std::streamsize>(picture.Bytes.size()));
        return path;
    }
    TTempDir Dir;
};

TEST_F(HostilePictureFiles, EveryReaderRefusesWithinABoundedAllocation) {
    using TCollect = TCollectResult (*)(const TBitmapListEntries&, const TCollectProgress&);
    const std::vector<std::pair<const char*, TCollect>> collectors = {
        {"classic",
         [](const TBitmapListEntries& e, const TCollectProgress& p) { return CollectPatternCells(e, p, 1); }},
        {"classic 8-bit",
         [](const TBitmapListEntries& e, const TCollectProgress& p) { return CollectPatternCells256(e, p, 1); }},
        {"Vantor", CollectVantorPatternCells},
        {"Vantor 8-bit", CollectVantorPatternCells256},
    };
    for (const THostilePicture& picture : HostilePictures()) {
        SCOPED_TRACE(picture.Name);
        ASSERT_LT(picture.Bytes.size(), 1200u);
        const std::filesystem::path path = Write(picture);
        LargestAllocation = 0;

        TDIB dib;
        const std::int64_t expansions = RleExpansions();
        try {
            dib.LoadFromFile(path);
            // Only a picture within the rule may be read; cutting it into cells is what is refused.
            EXPECT_TRUE(PictureSizeAllowed(dib.Width(), dib.Height()));
            dib.Decompress();
            dib.ScanLine(0);
        } catch (const EInvalidGraphic&) {
        } catch (const EReadError&) {
        }
        EXPECT_LE(RleExpansions() - expansions, 1);
        TPaletted8Bitmap paletted;
        paletted.LoadFromFile(path);
        TCharSoftRender character;
        EXPECT_FALSE(character.LoadImage(path, nullptr));
        EXPECT_TRUE(character.Strip().GetBits() == nullptr);
        for (const auto& [name, collect] : collectors) {
            TBitmapListEntries entries(3);
            for (std::size_t i = 0; i < entries.size(); ++i) {
                entries[i].Number = static_cast<std::int32_t>(i);
                entries[i].Path = path;
            }
            const std::int64_t before = RleExpansions();
            TCollectResult result = collect(entries, nullptr);
            EXPECT_FALSE(result.Error.empty()) << name;
            EXPECT_FALSE(result.Sheet) << name;
            EXPECT_LE(RleExpansions() - before, 1) << name;
        }
        EXPECT_LE(LargestAllocation.load(), AllocationBound);
    }
}

TEST_F(HostilePictureFiles, TooLargeNamesTheSizeAndTheLimit) {
    const std::filesystem::path path = Write(HostilePictures().front());
    TDIB dib;
    try {
        dib.LoadFromFile(path);
        FAIL();
    } catch (const EPictureTooLarge& e) {
        EXPECT_EQ(e.Message(), "画像が大きすぎます (1431655766 x 1 ピクセル、上限 67108864 ピクセル)");
    }
    TBitmapListEntry entry;
    entry.Number = 7;
    entry.Path = path;
    EXPECT_EQ(CollectVantorPatternCells({entry}, nullptr).Error,
              "\"No 7 のファイル\r\n\"" + path.string() + "\"は大きすぎて読み込めません\r\n" +
                  "画像が大きすぎます (1431655766 x 1 ピクセル、上限 67108864 ピクセル)");
}

TEST(PictureSizeRule, SizesAndConversions) {
    struct Case {
        std::int64_t Width, Height;
        bool Allowed;
    };
    const Case cases[] = {
        {1, 1, true},
        {MaxPicturePixels, 1, true},
        {1, MaxPicturePixels, true},
        {8192, 8192, true},
        {8192, 8193, false},
        {MaxPicturePixels + 1, 1, false},
        {0, 5, false},
        {5, -1, false},
        {1431655766, 1, false},
        {INT64_MAX, INT64_MAX, false},
        {std::int64_t{1} << 32, std::int64_t{1} << 32, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PictureSizeAllowed(c.Width, c.Height), c.Allowed) << c.Width << " x " << c.Height;
        if (c.Allowed || c.Width < 1 || c.Height < 1 || c.Width > INT32_MAX || c.Height > INT32_MAX) continue;
        LargestAllocation = 0;
        TDIB dib;
        EXPECT_THROW(dib.SetSize(static_cast<int>(c.Width), static_cast<int>(c.Height), 8), EPictureTooLarge);
        EXPECT_TRUE(dib.Empty());
        TSoftRender render;
        EXPECT_FALSE(render.SetSize(static_cast<int>(c.Width), static_cast<int>(c.Height), false));
        EXPECT_LE(LargestAllocation.load(), std::size_t{1} << 20);
    }
}

// Every picture writer raises the write error of a full disk instead of returning as if written.
TEST(PictureWriters, AFullDiskRaisesTheWriteError) {
    TDIB dib;
    dib.SetSize(16, 16, 24);
    TVantorPattern pattern;
    const std::vector<std::pair<const char*, std::function<void()>>> writers = {
        {"bitmap", [&] { dib.SaveToFile("/dev/full"); }},
        {"Vantor pattern", [&] { pattern.SaveToFile("/dev/full"); }},
        {"classic pattern", [&] { pattern.SaveToCharFile("/dev/full"); }},
    };
    for (const auto& [name, write] : writers) {
        try {
            write();
            ADD_FAILURE() << name;
        } catch (const EWriteError& e) {
            EXPECT_EQ(e.Cause(), "ディスクの空き容量が足りません") << name;
        }
    }
}

} // namespace
