// Advanced mode, the two web links, and what the exe tells Windows about
// itself: its four resources, the manifest and the version block.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "driver.h"

namespace {

std::string Record() { return StandinToolsFolder() + "cdb-record.txt"; }
std::string BrowserRecord() { return BuildPath("standin-browser/browser-record.txt"); }

// Waits for the Advanced click to be handled: the debugger Browse button follows it.
bool WaitForAdvanced(HWND dialog, bool on) {
  for (DWORD start = GetTickCount(); GetTickCount() - start < 5000; Sleep(50))
    if (Enabled(dialog, IDC_BROWSE_DEBUGGER) == on) return true;
  return false;
}

class Advanced : public testing::Test {
 protected:
  void SetUp() override {
    RemoveFile(Record());
    SetToolsFolder(StandinToolsFolder());
  }
};

TEST_F(Advanced, SwitchesTheFieldsAndControlsAndKeepsEveryText) {
  Kestrel kestrel;
  HWND dialog = kestrel.dialog();
  ASSERT_NE(dialog, nullptr);
  SetItemText(dialog, IDC_DUMP_PATH, "C:\\a.dmp");
  const std::string debugger = ItemText(dialog, IDC_DEBUGGER_PATH);
  for (bool on : {true, false, true}) {
    Click(dialog, IDC_ADVANCED);
    ASSERT_TRUE(WaitForAdvanced(dialog, on));
    EXPECT_EQ(ReadOnly(dialog, IDC_COMMAND_STRING), !on);
    EXPECT_EQ(ReadOnly(dialog, IDC_DEBUGGER_PATH), !on);
    for (int id : {IDC_BROWSE_DEBUGGER, IDC_COMMAND_LABEL, IDC_DEBUGGER_LABEL})
      EXPECT_EQ(Enabled(dialog, id), on) << id;
    for (int id : {IDOK, IDCANCEL, IDC_BROWSE_DUMP, IDC_DOWNLOAD_TOOLS, IDC_VISIT_SITE})
      EXPECT_TRUE(Enabled(dialog, id)) << id;
    EXPECT_FALSE(ReadOnly(dialog, IDC_DUMP_PATH));
    EXPECT_EQ(ItemText(dialog, IDC_DUMP_PATH), "C:\\a.dmp");
    EXPECT_EQ(ItemText(dialog, IDC_COMMAND_STRING), "<fill in the blank first>");
    EXPECT_EQ(ItemText(dialog, IDC_DEBUGGER_PATH), debugger);
  }
}

TEST_F(Advanced, TypedTextIsWhatTheDebuggerGets) {
  Kestrel kestrel;
  HWND dialog = kestrel.dialog();
  ASSERT_NE(dialog, nullptr);
  Click(dialog, IDC_BROWSE_DUMP);  // opens the gate
  HWND open = WaitForOwned(dialog);
  ASSERT_NE(open, nullptr);
  OpenDialogCancel(open);
  ASSERT_TRUE(NoOwnedWindow(dialog, 10000));
  Click(dialog, IDC_ADVANCED);
  ASSERT_TRUE(WaitForAdvanced(dialog, true));
  WriteWholeFile("C:\\by hand.dmp", "MDMP");
  const std::string typed = " -logo c:\\typed.txt -z \"C:\\by hand.dmp\"";
  SetItemText(dialog, IDC_COMMAND_STRING, typed);
  Click(dialog, IDC_ADVANCED);  // back to the plain form: the text stays
  ASSERT_TRUE(WaitForAdvanced(dialog, false));
  EXPECT_EQ(ItemText(dialog, IDC_COMMAND_STRING), typed);
  Click(dialog, IDOK);
  ASSERT_TRUE(WaitForFile(Record()));
  const std::string record = ReadWholeFile(Record());
  const std::string line = record.substr(0, record.find('\n'));
  ASSERT_GE(line.size(), typed.size());
  EXPECT_EQ(line.substr(line.size() - typed.size()), typed);
  HWND box = WaitForOwned(dialog);
  ASSERT_NE(box, nullptr);
  PressOk(box);
}

TEST_F(Advanced, DebuggerBrowseOffersOnlyCdbAndRecomposes) {
  DeleteToolsKey();
  Kestrel kestrel;
  HWND dialog = kestrel.dialog();
  ASSERT_NE(dialog, nullptr);
  Click(dialog, IDC_ADVANCED);
  ASSERT_TRUE(WaitForAdvanced(dialog, true));
  SetItemText(dialog, IDC_COMMAND_STRING, "typed, to be replaced");
  const std::string cdb = StandinToolsFolder() + "cdb.exe";
  ASSERT_EQ(ChooseWith(dialog, IDC_BROWSE_DEBUGGER, cdb), "CDB Debugger");
  EXPECT_STRCASEEQ(ItemText(dialog, IDC_DEBUGGER_PATH).c_str(), cdb.c_str());
  const std::string arguments = ItemText(dialog, IDC_COMMAND_STRING);
  EXPECT_EQ(arguments.substr(0, 23), " -logo c:\\debuglog.txt ");
  EXPECT_EQ(arguments.substr(arguments.size() - 6), " -z \"\"");
}

TEST(WebLinks, EachButtonOpensItsPageInTheBrowser) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, "http\\shell\\open\\command", 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const std::string command = "\"" + BuildPath("standin-browser/browser.exe") + "\" \"%1\"";
  RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                 static_cast<DWORD>(command.size() + 1));
  RegCloseKey(key);
  RegDeleteTreeA(HKEY_CLASSES_ROOT, "http\\shell\\open\\ddeexec");

  const std::vector<std::pair<int, std::string>> links = {
      {IDC_DOWNLOAD_TOOLS, "http://www.microsoft.com/whdc/devtools/debugging/installx86.mspx"},
      {IDC_VISIT_SITE, "http://www.harborline.example"},
  };
  for (const auto& [button, url] : links) {
    RemoveFile(BrowserRecord());
    Kestrel kestrel;
    ASSERT_NE(kestrel.dialog(), nullptr);
    Click(kestrel.dialog(), button);
    ASSERT_TRUE(WaitForFile(BrowserRecord())) << url;
    const std::string record = ReadWholeFile(BrowserRecord());
    EXPECT_NE(record.find("\"" + url + "\""), std::string::npos) << record;
  }
}

// The exe's resources: type -> (name, language).
BOOL CALLBACK Language(HMODULE, LPCSTR type, LPCSTR name, WORD language, LONG_PTR found) {
  reinterpret_cast<std::multimap<int, std::pair<int, int>>*>(found)->insert(
      {IS_INTRESOURCE(type) ? static_cast<int>(reinterpret_cast<UINT_PTR>(type)) : -1,
       {IS_INTRESOURCE(name) ? static_cast<int>(reinterpret_cast<UINT_PTR>(name)) : -1, language}});
  return TRUE;
}
BOOL CALLBACK Name(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR found) {
  return EnumResourceLanguagesA(module, type, name, Language, found);
}
BOOL CALLBACK Type(HMODULE module, LPSTR type, LONG_PTR found) {
  return EnumResourceNamesA(module, type, Name, found);
}

TEST(Resources, ExactlyFourWithTheManifestAndVersionBlock) {
  HMODULE exe = LoadLibraryExA(ShippedExe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(exe, nullptr);
  std::multimap<int, std::pair<int, int>> found;
  EnumResourceTypesA(exe, Type, reinterpret_cast<LONG_PTR>(&found));
  const std::multimap<int, std::pair<int, int>> expected = {
      {2, {102, 1033}}, {5, {101, 1033}}, {16, {1, 1033}}, {24, {1, 1033}}};
  EXPECT_EQ(found, expected);

  FreeLibrary(exe);
  const std::string text = KestrelResource(24, 1);
  EXPECT_NE(text.find("manifestVersion=\"1.0\""), std::string::npos);
  EXPECT_NE(text.find("level=\"asInvoker\""), std::string::npos);
  EXPECT_NE(text.find("uiAccess=\"false\""), std::string::npos);
  EXPECT_EQ(text.find("dependency"), std::string::npos);

  DWORD ignored = 0;
  std::vector<char> block(GetFileVersionInfoSizeA(ShippedExe().c_str(), &ignored));
  ASSERT_FALSE(block.empty());
  ASSERT_TRUE(GetFileVersionInfoA(ShippedExe().c_str(), 0, block.size(), block.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT size = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &size));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0x00000003u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwProductVersionLS, 0x00000003u);
  EXPECT_EQ(fixed->dwFileFlagsMask, 0x17u);
  EXPECT_EQ(fixed->dwFileFlags, 0u);
  EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS__WINDOWS32));
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
  EXPECT_EQ(fixed->dwFileSubtype, 0u);
  EXPECT_EQ(fixed->dwFileDateMS | fixed->dwFileDateLS, 0u);
  WORD* translation = nullptr;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation",
                             reinterpret_cast<void**>(&translation), &size));
  ASSERT_EQ(size, 4u);
  EXPECT_EQ(translation[0], 0x0409);
  EXPECT_EQ(translation[1], 0x04b0);
  const std::vector<std::pair<std::string, std::string>> strings = {
      {"CompanyName", "Harborline"},       {"FileDescription", "kestrel Application"},
      {"FileVersion", "1, 0, 0, 3"},       {"InternalName", "kestrel"},
      {"OriginalFilename", "kestrel.exe"}, {"ProductName", " kestrel Application"},
      {"ProductVersion", "1, 0, 0, 3"},
  };
  for (const auto& [key, value] : strings) {
    char* text = nullptr;
    const std::string path = "\\StringFileInfo\\040904b0\\" + key;
    ASSERT_TRUE(VerQueryValueA(block.data(), path.c_str(), reinterpret_cast<void**>(&text), &size))
        << key;
    EXPECT_EQ(std::string(text), value) << key;
  }
}

}  // namespace
