#include "BitField.h"

#include <gtest/gtest.h>

using namespace quillon;

namespace {
std::string MessageOf(const TResourceModule& module, int id, int type, std::size_t size) {
    try {
        LoadResourceData(module, id, type, size);
    } catch (const EBitFieldError& e) {
        return e.Message();
    }
    return "(nothing raised)";
}
} // namespace

TEST(BitField, FindsByTypeAndId) {
    const std::uint8_t a[] = {1, 2}, b[] = {3, 4, 5};
    const TResourceModule module = {{2000, 1, a}, {2000, 2, b}, {10, 2, a}};
    auto data = LoadResourceData(module, 2, 2000, 3);
    EXPECT_EQ(data.data(), b);
    EXPECT_EQ(MessageOf(module, 3, 2000, 2), "リソース読み込み時にエラー#1814が発生しました。");
    EXPECT_EQ(MessageOf(module, 1, 2001, 2), "リソース読み込み時にエラー#1813が発生しました。");
    EXPECT_EQ(MessageOf(module, 1, 2000, 3), "リソース読み込み時にエラー#13が発生しました。");
    EXPECT_EQ(MessageOf(module, 2, 2000, 2), "リソース読み込み時にエラー#13が発生しました。");
}

TEST(BitField, ProgramResourcesHaveTheirLayouts) {
    const TResourceModule& module = ProgramResources();
    auto palette = LoadResourceData(module, 2001, 2000, 1024);
    EXPECT_EQ(palette[253 * 4 + 0], 0xFF); // key: magenta (blue, green, red, 0)
    EXPECT_EQ(palette[253 * 4 + 1], 0x00);
    EXPECT_EQ(palette[253 * 4 + 2], 0xFF);
    EXPECT_EQ(palette[255 * 4 + 0], 0xFF); // white
    EXPECT_EQ(palette[255 * 4 + 1], 0xFF);
    EXPECT_EQ(palette[255 * 4 + 2], 0xFF);
    EXPECT_NO_THROW(LoadResourceData(module, 2002, 2000, 192 * 96));
    auto logo = LoadResourceData(module, 2003, 2000, 64 * 64);
    EXPECT_EQ(logo[0], 253); // the emblem stands on the key colour
    EXPECT_EQ(logo[64 * 64 - 1], 253);
    EXPECT_NE(logo[32 * 64 + 32], 253);
}
