#include "assets/constant_pool.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <windows.h>

#include "host/file_services.h"
#include "support/scratch.h"

namespace {

using testing_support::HostPath;
using testing_support::ReadWholeFile;

// UTF-8 to GBK through the platform's own tables, apart from the build
// tool's conversion.
std::string ToGbk(const std::string& utf8) {
  std::vector<wchar_t> wide(utf8.size() + 1);
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
  EXPECT_GT(n, 0);
  std::string out(utf8.size() * 2 + 1, '\0');
  int m = WideCharToMultiByte(936, 0, wide.data(), -1, out.data(), static_cast<int>(out.size()), nullptr, nullptr);
  EXPECT_GT(m, 0);
  out.resize(static_cast<std::size_t>(m > 0 ? m - 1 : 0));
  return out;
}

std::string PercentDecode(const std::string& s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '%' && i + 2 < s.size()) {
      out += static_cast<char>(std::stoi(s.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      out += s[i];
    }
  }
  return out;
}

struct Expected {
  bool isPayload;
  std::string utf8OrFile;
};

// The constants in pool order; the forum address (7) is checked apart.
const Expected kConstants[] = {
    {false, "\\dt.bin"},
    {false, "\\evimage.xp3"},
    {false, ""},
    {false, "没有找到文件"},
    {false, "没有找到所需要的补丁文件，请确认补丁文件是否完整"},
    {false, "请把该补丁放到《Velmora》的游戏目录下运行安装\r\n或者你还没有安装游戏\r\n请安装游戏后再安装本汉化补丁"},
    {false, "<forum>"},
    {false, "\\video"},
    {false, "\\"},
    {false, "\\patch.xp3"},
    {false, "\\brivan_chs.exe"},
    {true, PAYLOAD_GAME_EXE_FILE},
    {false, "\\KrkrUniversalPatch.dll"},
    {true, PAYLOAD_PATCH_DLL_FILE},
    {false, "成功啦"},
    {false, "汉化安装成功，请运行桌面的快捷方式进入游戏"},
    {false, "《Velmora》"},
    {false, "Tarnwick汉化组"},
    {false, "\\video\\brivanop_chs.wmv"},
    {false, "错误"},
    {false, "您还没有安装汉化"},
    {false, "\\video\\"},
    {false, "成功"},
    {false, "《Velmora》汉化卸载成功，感谢使用！"},
    {false, "汉化安装失败，请确认补丁文件完整、游戏未在运行并且磁盘空间充足后重新安装"},
    {false, "部分汉化文件无法删除，请关闭游戏后重新卸载"},
    {false, "%d%%"},
};

std::string DwordBytes(std::uint32_t v) {
  return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF), static_cast<char>((v >> 16) & 0xFF),
          static_cast<char>(v >> 24)};
}

TEST(ConstantPool, HoldsTheConstantsInOrderByteForByte) {
  std::basic_string_view<std::uint8_t> block = ConstantPoolBlock();
  std::string pool(reinterpret_cast<const char*>(block.data()), block.size());
  std::size_t pos = 0;
  for (const Expected& c : kConstants) {
    if (c.isPayload) {
      std::string file = ReadWholeFile(HostPath(c.utf8OrFile));
      std::string expected = DwordBytes(1) + DwordBytes(static_cast<std::uint32_t>(file.size())) + file;
      ASSERT_EQ(pool.compare(pos, expected.size(), expected), 0) << "payload at " << pos;
      pos += expected.size();
      continue;
    }
    std::string expected = c.utf8OrFile == "<forum>" ? pool.substr(pos, pool.find('\0', pos) - pos)
                                                     : ToGbk(c.utf8OrFile);
    ASSERT_EQ(pool.substr(pos, expected.size()), expected) << c.utf8OrFile;
    ASSERT_EQ(pool[pos + expected.size()], '\0') << c.utf8OrFile;
    pos += expected.size() + 1;
  }
  EXPECT_EQ(pos, pool.size());
  EXPECT_EQ(pool::kEntryCount, std::size(kConstants));
}

TEST(ConstantPool, TextsAreGbkAndKeepTheirLineBreaks) {
  EXPECT_STREQ(PoolText(pool::Text::ErrorCaption), "\xB4\xED\xCE\xF3");
  EXPECT_STREQ(PoolText(pool::Text::Empty), "");
  std::string twoBreaks = PoolText(pool::Text::ImageArchiveMissing);
  EXPECT_EQ(twoBreaks.find("\r\n"), ToGbk("请把该补丁放到《Velmora》的游戏目录下运行安装").size());
  EXPECT_STREQ(PoolText(pool::Text::MoviePath), "\\video\\brivanop_chs.wmv");
}

TEST(ConstantPool, ForumAddressHasTheSettledForm) {
  std::string address = PoolText(pool::Text::ForumAddress);
  std::string prefix = std::string("http://") + FORUM_HOST + "/f?kw=";
  std::string suffix = "&fr=index&fp=0&ie=utf-8";
  ASSERT_EQ(address.compare(0, prefix.size(), prefix), 0) << address;
  ASSERT_GE(address.size(), prefix.size() + suffix.size());
  ASSERT_EQ(address.substr(address.size() - suffix.size()), suffix) << address;
  std::string kw = address.substr(prefix.size(), address.size() - prefix.size() - suffix.size());
  ASSERT_EQ(kw.size() % 3, 0u);
  for (std::size_t i = 0; i < kw.size(); i += 3) {
    EXPECT_EQ(kw[i], '%');
    for (char digit : kw.substr(i + 1, 2)) EXPECT_TRUE((digit >= '0' && digit <= '9') || (digit >= 'A' && digit <= 'F'));
  }
  EXPECT_EQ(PercentDecode(kw), FORUM_NAME);
}

TEST(ConstantPool, EmbeddedBlockIsTheGeneratedOne) {
  std::basic_string_view<std::uint8_t> block = ConstantPoolBlock();
  EXPECT_TRUE(ReadWholeFile(HostPath(POOL_BLOCK_FILE)) ==
              std::string(reinterpret_cast<const char*>(block.data()), block.size()));
}

TEST(ConstantPool, PayloadsAreWrittenOutExactly) {
  testing_support::ScratchDirectory dir;
  struct {
    pool::Bytes payload;
    const char* file;
  } cases[] = {{pool::Bytes::PayloadGameExe, PAYLOAD_GAME_EXE_FILE},
               {pool::Bytes::PayloadPatchDll, PAYLOAD_PATCH_DLL_FILE}};
  for (const auto& c : cases) {
    std::string out = dir / "payload.bin";
    ASSERT_TRUE(WriteBytesToFile(out, {PoolBytes(c.payload)}));
    std::string written = ReadWholeFile(out);
    EXPECT_TRUE(written == ReadWholeFile(HostPath(c.file))) << c.file;
    EXPECT_EQ(written.substr(0, 2), "MZ");
  }
}

}  // namespace
