// The markup demo: the main window's layout - top bar of explorer buttons, the heading band,
// the left pane of categories and the right pane of device sections - filled with every shape of
// info line the line builders write, plus a group of flat speed buttons. It shows how the
// component library draws, and the end-to-end test reads its screenshot.
//
// markup_demo.exe [probe-file]: with a file name, the demo writes there where (in screen
// coordinates) it drew the lines that the test checks, one line each: a name, the line's left
// edge, and the left, top, width and height of one run of text (for "right_pane" and
// "report_button": of the control's client area).
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "ui/markup_text.h"
#include "ui/section_list_style.h"
#include "ui/weave_tile.h"
#include "ui/win32/background.h"
#include "ui/win32/explorer_button.h"
#include "ui/win32/extended_label.h"
#include "ui/win32/gauge_bar.h"
#include "ui/win32/image_strip.h"
#include "ui/win32/panel.h"
#include "ui/win32/section_list_box.h"
#include "ui/win32/speed_button.h"

namespace {

using namespace tamux;
using namespace tamux::win32;

const char kTitle[] = "Tamux markup demo";
const std::string kPrinterName = "<b>Lab & \"Main\"</b>";

// The fragments of the line shapes.
std::string imagePart(int image, const char* color = "clnavy") {
    std::string part = "<IMG src=\"idx:";
    part += std::to_string(image);
    part += "\"></IMG> <FONT color=\"";
    part += color;
    part += "\" size=\"10\">";
    return part;
}
std::string itemLine(int image, const std::string& label, const std::string& value,
                     const char* end = "</FONT>") {
    return imagePart(image) + label + "<IND x=\"200\"><FONT color=\"clmaroon\">" +
           escapeMarkup(value) + end;
}
std::string indicatorLine(const char* key, bool on) {
    return std::string("<FONT color=\"") + (on ? "clgreen" : "clblack") + "\" size=\"10\"> " + key +
           " </FONT>";
}

enum KeyboardLine {
    kTitleLine,
    kSpacerAfterTitle,
    kDriverGroup,
    kDriverItem,
    kLongLabelItem,
    kDelayItem,
    kSpacerBeforeLocks,
    kCapsLine,
    kNumLine,
    kScrollLine,
    kInsertLine,
    kLayoutGroup,
    kLayoutItem,
    kLoneLessThanItem,
};

std::vector<std::string> keyboardLines() {
    return {
        "<FONT color=\"clnavy\" size=\"12\">Standard 101/102-Key Keyboard</FONT>",
        " ",
        "<IMG src=\"idx:1\"></IMG> <FONT color=\"clblue\" size=\"11\">Driver</FONT>",
        itemLine(1, "Driver", "kbdclass.sys"),
        itemLine(1, "A label that is much wider than the tab stop", "pushed"),
        imagePart(1, "clblue") + "Repeat delay<IND x=\"200\"><FONT color=\"clmaroon\" " +
            "size=\"10\">500 ms</FONT>",
        "",
        indicatorLine("CAPS", true),
        indicatorLine("NUM", false),
        indicatorLine("SCROLL", true),
        indicatorLine("INS", false),
        "<FONT color=\"clgreen\" size=\"10\">Keyboard layouts</FONT>",
        itemLine(1, "00000409", "US"),
        itemLine(1, "Registry value", "<"),
    };
}

std::vector<std::string> printerLines() {
    return {
        "<FONT color=\"clnavy\" size=\"12\">" + escapeMarkup(kPrinterName) + "</FONT>",
        itemLine(2, "Printer name", kPrinterName),
        "<FONT color=\"clblue\" size=\"11\">Capabilities</FONT>",
        imagePart(4) + "Colour</FONT>",
        imagePart(5) + "Duplex</FONT>",
        imagePart(6) + "A4<IND x=\"200\"><FONT color=\"clmaroon\">210 x 297 mm</FONT>",
        "<FONT color=\"clnavy\" size=\"10\">A long line that wraps within the pane because the "
        "right pane has word wrap switched on</FONT>",
        "<FONT size=\"14\">Report</FONT><HR>",
        "<B>bold</B> <I>italic</I> <U>underline</U> <S>strike</S><BR>second row &amp; more",
    };
}

class Demo {
  public:
    explicit Demo(HWND window) : window_(window) {
        HINSTANCE instance = GetModuleHandleA(nullptr);
        subItemImages_ = ImageStrip::fromResource(instance, "SILK_SUBITEMS", 16);
        sectionImages_ = ImageStrip::fromResource(instance, "SILK_SECTIONS", 16);
        wallpaper_ = ImageStrip::fromImage(weaveTile(20), 8);
        buildTopBar();
        buildBody();
        fillLeftPane();
        fillRightPane();
    }

    Picture wallpaper() const { return {wallpaper_.get(), 0}; }

    // Where the checked lines were drawn, in screen coordinates.
    void writeProbe(const std::string& path) {
        FILE* out = std::fopen(path.c_str(), "wb");
        if (!out) return;
        probeRun(out, "maroon_value", 1, kDriverItem, "kbdclass.sys");
        probeRun(out, "pushed_value", 1, kLongLabelItem, "pushed");
        probeRun(out, "green_indicator", 1, kCapsLine, " CAPS ");
        probeRun(out, "black_indicator", 1, kNumLine, " NUM ");
        probeRun(out, "lone_less_than", 1, kLoneLessThanItem, "<");
        probeControl(out, "right_pane", right_->handle());
        probeControl(out, "report_button", buttons_[0]->handle());
        std::fclose(out);
    }

  private:
    void buildTopBar() {
        Panel::CreateArgs bar;
        bar.placement = {window_, 0, 0, 584, 25, 100};
        bar.color = Color::rgb(58, 84, 140);
        bar.innerBevel = Bevel::Lowered;
        bar.tilePicture = wallpaper();
        topBar_ = std::make_unique<Panel>(bar);
        const char* captions[] = {"Report", "About", "Language", "Minimize", "Close"};
        const int lefts[] = {0, 190, 280, 370, 460};
        for (int i = 0; i < 5; ++i) {
            ExplorerButton::CreateArgs args;
            args.placement = {topBar_->handle(), lefts[i], 3, 90, 19, 101 + i};
            args.caption = captions[i];
            args.bitmap = {subItemImages_.get(), 6};
            args.noFocusBitmap = {subItemImages_.get(), 3};
            args.disabledBitmap = {subItemImages_.get(), 6};
            auto button = std::make_unique<ExplorerButton>(args);
            ExplorerButton* raw = button.get();
            raw->onMouseMove = [raw] { raw->setBitmap(raw->noFocusBitmap()); };
            raw->onExit = [raw] { raw->setBitmap(raw->disabledBitmap()); };
            if (i == 4) raw->onClick = [this] { DestroyWindow(window_); };
            buttons_.push_back(std::move(button));
        }
    }

    void buildBody() {
        Panel::CreateArgs body;
        body.placement = {window_, 8, 32, 561, 417, 200};
        body.color = Color::rgb(197, 210, 226);
        body_ = std::make_unique<Panel>(body);
        HWND parent = body_->handle();

        SectionListBox::CreateArgs left;
        left.placement = {parent, 1, 1, 193, 415, 201};
        left.style = leftPaneStyle();
        left.sectionImages = sectionImages_.get();
        left.subItemImages = subItemImages_.get();
        left.wallpaper = wallpaper();
        left_ = std::make_unique<SectionListBox>(left);

        GaugeBar::CreateArgs gauge;
        gauge.placement = {parent, 200, 16, 353, 17, 202};
        gauge.maximum = 111;
        gauge.position = 111;
        gauge_ = std::make_unique<GaugeBar>(gauge);

        ExtendedLabel::CreateArgs label;
        label.placement = {parent, 208, 16, 0, 0, 203};
        label.caption = "Input/output devices";
        label.font.points = 10;
        label.font.bold = true;
        label.font.color = Color::rgb(255, 255, 255);
        heading_ = std::make_unique<ExtendedLabel>(label);
        // Over the band, it must lie above it.
        SetWindowPos(heading_->handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);

        ExtendedLabel::CreateArgs shadow;
        shadow.placement = {parent, 206, 44, 0, 0, 204};
        shadow.caption = "Zorv Info";
        shadow.font.face = "Times New Roman";
        shadow.font.points = 16;
        shadow.font.bold = true;
        shadow.font.color = Color::rgb(0, 0, 0);
        shadow.shadow = true;
        shadow.shadowColor = Color::rgb(0, 128, 255);
        shadow.hint = "A label with a drop shadow";
        shadowLabel_ = std::make_unique<ExtendedLabel>(shadow);

        for (int i = 0; i < 3; ++i) {
            SpeedButton::CreateArgs flag;
            flag.placement = {parent, 400 + i * 25, 48, 23, 23, 210 + i};
            flag.glyph = {subItemImages_.get(), i};
            flag.group = &flags_;
            flagButtons_.push_back(std::make_unique<SpeedButton>(flag));
        }
        flagButtons_[1]->setDown(true);
        flagButtons_[2]->setEnabled(false);

        SpeedButton::CreateArgs ok;
        ok.placement = {parent, 480, 47, 73, 25, 220};
        ok.caption = "Ok";
        ok.font.bold = true;
        ok.font.color = Color::system(syscolor::kBtnText);
        ok.glyph = {subItemImages_.get(), 4};
        okButton_ = std::make_unique<SpeedButton>(ok);

        SectionListBox::CreateArgs right;
        right.placement = {parent, 200, 87, 345, 329, 205};
        right.style = rightPaneStyle();
        right.sectionImages = subItemImages_.get();
        right.subItemImages = subItemImages_.get();
        right.wallpaper = wallpaper();
        right_ = std::make_unique<SectionListBox>(right);
    }

    void fillLeftPane() {
        SectionList& pane = left_->model();
        ListSection& input = pane.addSection();
        input.setCaption("Input devices");
        input.setImageIndex(1);
        input.subItems().add("Mouse", 0);
        input.subItems().add("Keyboard", 1);
        input.setState(SectionState::Expanded);
        ListSection& printers = pane.addSection();
        printers.setCaption("Printers");
        printers.setImageIndex(0);
        printers.subItems().add(escapeMarkup(kPrinterName), 2);
        printers.subItems().add("HP LaserJet\tPCL", 2);
        printers.setState(SectionState::Expanded);
        pane.onSubItemClick = [this](int category, int) {
            openRightSection(category == 0 ? 1 : 2);
        };
    }

    void fillRightPane() {
        SectionList& pane = right_->model();
        pane.suspendRedraw();
        pane.addSection().setCaption("Input devices");
        ListSection& keyboard = pane.addSection();
        keyboard.setCaption("Keyboard");
        keyboard.setImageIndex(1);
        keyboard.subItems().assign(keyboardLines());
        keyboard.setState(SectionState::Expanded);
        ListSection& printer = pane.addSection();
        printer.setCaption(escapeMarkup(kPrinterName));
        printer.setImageIndex(2);
        printer.subItems().assign(printerLines());
        printer.setState(SectionState::Expanded);
        ListSection& mouse = pane.addSection();
        mouse.setCaption("Mouse");
        mouse.setImageIndex(0);
        pane.resumeRedraw();
        // Headings open and close through the window, as in the main window.
        pane.onSectionClick = [this](int section) { toggleRightSection(section); };
    }

    void openRightSection(int section) {
        SectionList& pane = right_->model();
        pane.suspendRedraw();
        pane.section(section).setState(SectionState::Expanded);
        pane.scrollSectionToTop(section);
        pane.resumeRedraw();
    }

    void toggleRightSection(int section) {
        SectionList& pane = right_->model();
        pane.suspendRedraw();
        ListSection& target = pane.section(section);
        target.setState(target.expanded() ? SectionState::Contracted : SectionState::Expanded);
        pane.scrollSectionToTop(section);
        pane.resumeRedraw();
    }

    void probeControl(FILE* out, const char* name, HWND control) {
        RECT client;
        GetClientRect(control, &client);
        POINT corner{0, 0};
        ClientToScreen(control, &corner);
        std::fprintf(out, "%s %ld %ld %ld %ld %ld\n", name, corner.x, corner.x, corner.y,
                     client.right, client.bottom);
    }

    void probeRun(FILE* out, const char* name, int section, int item, const std::string& text) {
        POINT origin = right_->lineOrigin(section, item);
        if (origin.x < 0) return;
        const MarkupLayout& layout = right_->lineLayout(right_->model().section(section), item);
        for (const DrawInstruction& draw : layout.items) {
            const auto* run = std::get_if<TextDraw>(&draw);
            if (!run || run->text != text) continue;
            POINT lineLeft{origin.x, origin.y};
            ClientToScreen(right_->handle(), &lineLeft);
            std::fprintf(out, "%s %ld %ld %ld %d %d\n", name, lineLeft.x, lineLeft.x + run->x,
                         lineLeft.y + run->y, run->width, run->height);
            return;
        }
    }

    HWND window_;
    std::unique_ptr<ImageStrip> subItemImages_;
    std::unique_ptr<ImageStrip> sectionImages_;
    std::unique_ptr<ImageStrip> wallpaper_;
    std::unique_ptr<Panel> topBar_;
    std::vector<std::unique_ptr<ExplorerButton>> buttons_;
    std::unique_ptr<Panel> body_;
    std::unique_ptr<SectionListBox> left_;
    std::unique_ptr<GaugeBar> gauge_;
    std::unique_ptr<ExtendedLabel> heading_;
    std::unique_ptr<ExtendedLabel> shadowLabel_;
    SpeedButtonGroup flags_;
    std::vector<std::unique_ptr<SpeedButton>> flagButtons_;
    std::unique_ptr<SpeedButton> okButton_;
    std::unique_ptr<SectionListBox> right_;
};

Demo* demo = nullptr;

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            // The window's own tiled background, which the panels' children show through.
            eraseToTiledFace(window, reinterpret_cast<HDC>(wParam),
                             demo ? demo->wallpaper() : Picture{});
            return 1;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

std::string probePath(const char* commandLine) {
    std::string path = commandLine ? commandLine : "";
    while (!path.empty() && path.front() == ' ') path.erase(path.begin());
    while (!path.empty() && path.back() == ' ') path.pop_back();
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"') {
        path = path.substr(1, path.size() - 2);
    }
    return path;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.lpszClassName = "TamuxMarkupDemo";
    RegisterClassA(&windowClass);
    RECT frame{0, 0, 584, 460};
    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    AdjustWindowRect(&frame, style, FALSE);
    HWND window =
        CreateWindowExA(0, "TamuxMarkupDemo", kTitle, style, 0, 0, frame.right - frame.left,
                        frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    Demo content(window);
    demo = &content;
    ShowWindow(window, show);
    UpdateWindow(window);
    std::string probe = probePath(commandLine);
    if (!probe.empty()) content.writeProbe(probe);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (IsDialogMessageA(window, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    demo = nullptr;
    return static_cast<int>(message.wParam);
}
