// The main dialog as the user meets it: its template, its fourteen
// controls in their first states, and the three ways to close it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "driver.h"

namespace {

struct Control {
  int id;
  const char* windowClass;
  const char* text;
  short x, y, w, h;
  DWORD style;  // WS_CHILD | WS_VISIBLE are added below
};

const std::vector<Control> kControls = {
    {IDOK, "Button", "Generate Log", 176, 164, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
    {IDCANCEL, "Button", "Exit", 262, 164, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
    {IDC_DUMP_PATH, "Edit", "", 7, 57, 403, 13, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP},
    {-1, "Static", "Dump file to be analyzed", 9, 48, 80, 8, SS_LEFT | WS_GROUP},
    {IDC_BROWSE_DUMP, "Button", "Browse...", 417, 57, 41, 12, BS_PUSHBUTTON | WS_TABSTOP},
    {IDC_COMMAND_STRING, "Edit", "", 7, 145, 403, 13,
     ES_AUTOHSCROLL | ES_READONLY | WS_BORDER | WS_TABSTOP},
    {IDC_ADVANCED, "Button", "Advanced", 422, 144, 53, 15, BS_AUTOCHECKBOX | WS_TABSTOP},
    {IDC_COMMAND_LABEL, "Static", "Command String to pass to the debugger", 9, 137, 132, 8,
     SS_LEFT | SS_NOTIFY | WS_GROUP | WS_DISABLED},
    {IDC_DEBUGGER_PATH, "Edit", "", 7, 124, 347, 13,
     ES_AUTOHSCROLL | ES_READONLY | WS_BORDER | WS_TABSTOP},
    {IDC_DEBUGGER_LABEL, "Static", "Location of the debugging tools for windows", 10, 116, 142, 8,
     SS_LEFT | SS_NOTIFY | WS_GROUP | WS_DISABLED},
    {IDC_BROWSE_DEBUGGER, "Button", "Browse...", 361, 124, 49, 13,
     BS_PUSHBUTTON | WS_TABSTOP | WS_DISABLED},
    {IDC_DOWNLOAD_TOOLS, "Button", "Click to download tools", 381, 3, 94, 13,
     BS_PUSHBUTTON | WS_TABSTOP},
    {-1, "Static", "", 7, 2, 123, 39, SS_BITMAP},
    {IDC_VISIT_SITE, "Button", "Click to visit Harborline", 381, 16, 94, 13,
     BS_PUSHBUTTON | WS_TABSTOP},
};

// Reads the extended dialog template IDD_MAIN straight from the exe.
class TemplateReader {
 public:
  explicit TemplateReader(const BYTE* data) : at_(data) {}
  template <typename T>
  T Take() {
    T value;
    memcpy(&value, at_, sizeof value);
    at_ += sizeof value;
    return value;
  }
  // A name or an ordinal; ordinals of the predefined classes become names.
  std::string NameOrOrdinal() {
    const WORD first = Take<WORD>();
    if (first == 0) return "";
    if (first == 0xFFFF) {
      const WORD ordinal = Take<WORD>();
      switch (ordinal) {
        case 0x80:
          return "Button";
        case 0x81:
          return "Edit";
        case 0x82:
          return "Static";
      }
      return "#" + std::to_string(ordinal);
    }
    std::string text(1, static_cast<char>(first));
    for (WORD c = Take<WORD>(); c; c = Take<WORD>()) text += static_cast<char>(c);
    return text;
  }
  void AlignToDword(const BYTE* base) {
    while ((at_ - base) % 4) ++at_;
  }

 private:
  const BYTE* at_;
};

TEST(MainDialog, TemplateIsExactlyAsDesigned) {
  const std::string resource = KestrelResource(5, IDD_MAIN);
  ASSERT_GT(resource.size(), 200u);
  const BYTE* base = reinterpret_cast<const BYTE*>(resource.data());
  TemplateReader read(base);
  EXPECT_EQ(read.Take<WORD>(), 1);       // dlgVer
  EXPECT_EQ(read.Take<WORD>(), 0xFFFF);  // extended form
  read.Take<DWORD>();                    // help id
  EXPECT_EQ(read.Take<DWORD>(), static_cast<DWORD>(WS_EX_APPWINDOW));
  EXPECT_EQ(read.Take<DWORD>(), 0x00CA0048u);
  EXPECT_EQ(read.Take<WORD>(), kControls.size());
  EXPECT_EQ(read.Take<short>(), 50);
  EXPECT_EQ(read.Take<short>(), 50);
  EXPECT_EQ(read.Take<short>(), 475);
  EXPECT_EQ(read.Take<short>(), 187);
  EXPECT_EQ(read.NameOrOrdinal(), "");  // no menu
  EXPECT_EQ(read.NameOrOrdinal(), "");  // no private class
  EXPECT_EQ(read.NameOrOrdinal(), "Kestrel  --  www.harborline.example");
  EXPECT_EQ(read.Take<WORD>(), 8);    // points
  EXPECT_EQ(read.Take<WORD>(), 400);  // weight
  EXPECT_EQ(read.Take<BYTE>(), 0);    // not italic
  EXPECT_EQ(read.Take<BYTE>(), 1);    // character set
  EXPECT_EQ(read.NameOrOrdinal(), "MS Shell Dlg");
  for (const Control& c : kControls) {
    read.AlignToDword(base);
    read.Take<DWORD>();  // help id
    const DWORD exStyle = read.Take<DWORD>();
    EXPECT_EQ(exStyle, c.id == IDC_DUMP_PATH ? static_cast<DWORD>(WS_EX_ACCEPTFILES) : 0u)
        << c.text;
    EXPECT_EQ(read.Take<DWORD>(), c.style | WS_CHILD | WS_VISIBLE) << c.text;
    EXPECT_EQ(read.Take<short>(), c.x) << c.text;
    EXPECT_EQ(read.Take<short>(), c.y) << c.text;
    EXPECT_EQ(read.Take<short>(), c.w) << c.text;
    EXPECT_EQ(read.Take<short>(), c.h) << c.text;
    EXPECT_EQ(static_cast<int>(read.Take<DWORD>()), c.id) << c.text;
    EXPECT_STRCASEEQ(read.NameOrOrdinal().c_str(), c.windowClass) << c.text;
    const std::string text = read.NameOrOrdinal();
    EXPECT_EQ(text, c.id == -1 && *c.text == '\0' ? "#102" : c.text) << c.text;
    read.Take<WORD>();  // no creation data
  }
}

TEST(MainDialog, OpensWithItsControlsInTheirFirstStates) {
  DeleteToolsKey();
  Kestrel kestrel;
  HWND dialog = kestrel.dialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(WindowText(dialog), "Kestrel  --  www.harborline.example");
  EXPECT_TRUE(GetWindowLongPtrA(dialog, GWL_EXSTYLE) & WS_EX_APPWINDOW);
  // The live controls, in tab order, with their classes and texts.
  std::size_t index = 0;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    ASSERT_LT(index, kControls.size());
    const Control& c = kControls[index++];
    char windowClass[32] = {};
    GetClassNameA(child, windowClass, sizeof windowClass);
    EXPECT_EQ(GetDlgCtrlID(child), c.id) << c.text;
    EXPECT_STRCASEEQ(windowClass, c.windowClass) << c.text;
    if (std::string(c.windowClass) == "Static" && (c.style & SS_TYPEMASK) == SS_BITMAP) {
      EXPECT_NE(SendMessageA(child, STM_GETIMAGE, IMAGE_BITMAP, 0), 0) << "banner shown";
    } else if (c.id != IDC_COMMAND_STRING && c.id != IDC_DEBUGGER_PATH) {
      EXPECT_EQ(WindowText(child), c.text) << c.windowClass;
    }
    EXPECT_EQ(IsWindowEnabled(child) != FALSE, !(c.style & WS_DISABLED)) << c.text;
  }
  EXPECT_EQ(index, kControls.size());
  EXPECT_EQ(SendMessageA(GetDlgItem(dialog, IDC_ADVANCED), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_TRUE(ReadOnly(dialog, IDC_COMMAND_STRING));
  EXPECT_TRUE(ReadOnly(dialog, IDC_DEBUGGER_PATH));
  EXPECT_FALSE(ReadOnly(dialog, IDC_DUMP_PATH));
  EXPECT_EQ(ItemText(dialog, IDC_DUMP_PATH), "");
  EXPECT_EQ(ItemText(dialog, IDC_COMMAND_STRING), "<fill in the blank first>");
}

TEST(MainDialog, BannerIs263By68At24Bits) {
  const std::string bitmap = KestrelResource(2, IDB_BANNER);
  ASSERT_GE(bitmap.size(), sizeof(BITMAPINFOHEADER));
  BITMAPINFOHEADER header;
  memcpy(&header, bitmap.data(), sizeof header);
  EXPECT_EQ(header.biSize, 40u);
  EXPECT_EQ(header.biWidth, 263);
  EXPECT_EQ(header.biHeight, 68);
  EXPECT_EQ(header.biBitCount, 24);
  EXPECT_EQ(header.biCompression, static_cast<DWORD>(BI_RGB));
  EXPECT_EQ(bitmap.size(), 40u + 53856u);
}

struct Ending {
  const char* name;
  void (*act)(HWND dialog);
};

TEST(MainDialog, ExitEscAndTheCloseBoxEachEndWithCodeZero) {
  const std::vector<Ending> endings = {
      {"Exit button", [](HWND dialog) { Click(dialog, IDCANCEL); }},
      {"Esc key",
       [](HWND dialog) {
         PostMessageA(GetDlgItem(dialog, IDOK), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
       }},
      {"close box", [](HWND dialog) { PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }},
  };
  for (const Ending& ending : endings) {
    Kestrel kestrel;
    ASSERT_NE(kestrel.dialog(), nullptr) << ending.name;
    ending.act(kestrel.dialog());
    EXPECT_EQ(kestrel.WaitForExit(), 0u) << ending.name;
  }
}

TEST(MainDialog, CommandLineArgumentsChangeNothing) {
  SetToolsFolder("C:\\Debuggers\\");
  Kestrel kestrel("C:\\some\\file.dmp /advanced -z x");
  HWND dialog = kestrel.dialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(ItemText(dialog, IDC_DUMP_PATH), "");
  EXPECT_EQ(ItemText(dialog, IDC_COMMAND_STRING), "<fill in the blank first>");
  EXPECT_EQ(ItemText(dialog, IDC_DEBUGGER_PATH), "C:\\Debuggers\\cdb.exe");
  EXPECT_EQ(SendMessageA(GetDlgItem(dialog, IDC_ADVANCED), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  Click(dialog, IDCANCEL);
  EXPECT_EQ(kestrel.WaitForExit(), 0u);
}

}  // namespace

namespace {

// Commands from controls without an action change nothing; a known control
// runs its action whatever the notification code.
TEST(MainDialog, DispatchLooksOnlyAtTheControlId) {
  DeleteToolsKey();
  Kestrel kestrel;
  HWND dialog = kestrel.dialog();
  ASSERT_NE(dialog, nullptr);
  for (int id : {IDC_COMMAND_LABEL, IDC_DEBUGGER_LABEL, IDC_DUMP_PATH, IDC_COMMAND_STRING, 4242})
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
  EXPECT_EQ(WaitForOwned(dialog, "#32770", 1000), nullptr);
  EXPECT_EQ(ItemText(dialog, IDC_COMMAND_STRING), "<fill in the blank first>");
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, EN_CHANGE), 0);
  HWND box = WaitForOwned(dialog);
  ASSERT_NE(box, nullptr) << "Generate Log ran for another notification code";
  EXPECT_EQ(MessageText(box), "You need to hit both the browse buttons before running logs");
  PressOk(box);
}

}  // namespace

namespace {

// The run is in the configuration it says: a 32-bit build in a 64-bit prefix
// must find itself under WOW64, or the 64-bit Windows cases test nothing.
TEST(Platform, WindowsIsAsThePrefixMakesIt) {
  const char* expected = std::getenv("KESTREL_TEST_WINDOWS");
  ASSERT_NE(expected, nullptr);
  EXPECT_EQ(Is64BitWindows() ? "64" : "32", std::string(expected));
}

}  // namespace
