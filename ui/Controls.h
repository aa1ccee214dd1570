#pragma once
// The wizard's control kinds and their creation from a design table.

#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "ui/Control.h"

// One line of text; sized to its caption unless the design gives a width.
class TLabel : public TControl {
 public:
  explicit TLabel(const TControlSpec& spec)
      : TControl(spec), FAutoWidth(spec.Width == 0), FAutoHeight(spec.Height == 0) {}
  TAccessibleFacts AccessibleFacts() const override;

 protected:
  bool CaptionRoom(HDC dc, RECT& room, UINT& format) const override;
  TWindowClass GetWindowClass() const override;
  void AfterCreate() override;
  void AfterDpiChange() override;

 private:
  // Sizes the label to its caption in its font at its scale, where the design leaves it open.
  void FitCaption();
  bool FAutoWidth;
  bool FAutoHeight;
};

class TImage;

// A label with a transparent background: it paints what lies beneath it (its parent's colour
// and the pictures of its siblings) and then its text, so that it can move over a picture.
class TTransparentLabel : public TLabel {
 public:
  using TLabel::TLabel;

 protected:
  bool CaptionRoom(HDC dc, RECT& room, UINT& format) const override;
  TWindowClass GetWindowClass() const override;
  void AfterCreate() override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Paint();
  // The visible pictures among the label's siblings, which it shows through.
  std::vector<const TImage*> PicturesBeneath() const;
};

// A label that opens something when clicked, such as a mail address: it underlines itself by
// its font, takes the focus by Tab, shows a focus mark while it has it, and Enter or Space
// clicks it as the mouse does.
class TLinkLabel : public TLabel {
 public:
  using TLabel::TLabel;
  TAccessibleFacts AccessibleFacts() const override;
  bool PreProcessKey(MSG& message) override;

 protected:
  TWindowClass GetWindowClass() const override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Paint();
};

// Text in a box of fixed size, word-wrapped.
class TStaticText : public TControl {
 public:
  using TControl::TControl;
  TAccessibleFacts AccessibleFacts() const override;

 protected:
  bool CaptionRoom(HDC dc, RECT& room, UINT& format) const override;
  TWindowClass GetWindowClass() const override;
};

// A coloured container; its caption, if any, is drawn centred.
class TPanel : public TControl {
 public:
  using TControl::TControl;
  TAccessibleFacts AccessibleFacts() const override;

 protected:
  bool CaptionRoom(HDC dc, RECT& room, UINT& format) const override;
  TWindowClass GetWindowClass() const override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Paint();
};

// A picture: an icon or a JPEG picture from the program's resources, or a bitmap given to it.
// Without a width in the design it takes the picture's size. Stretched, it fills its bounds;
// transparent, the colour of the picture's bottom-left pixel lets the background through. At a
// display scale other than the design's the picture is drawn scaled smoothly, and the icon
// taken in the size nearest to the scale. A JPEG picture is decoded when it is first drawn or
// asked for, so that the pictures of the pages not shown yet cost nothing before the wizard's
// first page is on the screen.
class TImage : public TControl {
 public:
  using TControl::TControl;
  ~TImage() override;
  TAccessibleFacts AccessibleFacts() const override;
  void SetBitmap(HBITMAP bitmap);  // the image takes ownership
  // The picture as decoded, at its own size.
  HBITMAP Bitmap() const;
  // Whether the picture is there as a bitmap yet: false for a JPEG picture not yet drawn.
  bool Decoded() const { return FBitmap != nullptr; }
  // Draws the picture into dc with the image's top-left corner at origin (pixels of the
  // display), as it paints itself.
  void DrawInto(HDC dc, POINT origin) const;

 protected:
  TWindowClass GetWindowClass() const override;
  void AfterCreate() override;
  void AfterDpiChange() override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Paint();
  void LoadIconAtScale();
  // The picture as the display shows it: scaled to size, with its see-through pixels clear.
  HBITMAP Shown(SIZE size) const;
  void ForgetShown() const;
  int FResource = 0;
  HICON FIcon = nullptr;
  int FIconSize = 0;
  mutable int FUndecoded = 0;  // the JPEG picture's resource until it is decoded
  mutable HBITMAP FBitmap = nullptr;
  mutable HBITMAP FShown = nullptr;
  mutable SIZE FShownSize{};
  friend std::unique_ptr<TControl> MakeControl(const TControlSpec& spec);
};

// One sheet of a page control; it owns what it shows and sizes it to fill itself.
class TTabSheet : public TControl {
 public:
  using TControl::TControl;
  TAccessibleFacts AccessibleFacts() const override;
  void SetContent(std::unique_ptr<TControl> content);
  TControl* Content() const { return FContent.get(); }

 protected:
  TWindowClass GetWindowClass() const override;

 private:
  std::unique_ptr<TControl> FContent;
};

// A stack of sheets, one visible at a time; it has no tabs.
class TPageControl : public TControl {
 public:
  using TControl::TControl;
  TAccessibleFacts AccessibleFacts() const override;
  TTabSheet& AddSheet(const std::string& name);
  const std::vector<std::unique_ptr<TTabSheet>>& Sheets() const { return FSheets; }
  TTabSheet* ActivePage() const { return FActive; }
  void SetActivePage(TTabSheet& sheet);

 protected:
  TWindowClass GetWindowClass() const override;

 private:
  std::vector<std::unique_ptr<TTabSheet>> FSheets;
  TTabSheet* FActive = nullptr;
};

// The controls made from one design table, found by their design names.
class TControlSet {
 public:
  void Add(std::unique_ptr<TControl> control);
  // The control of that name; none: nullptr.
  TControl* Find(const std::string& name) const;
  TControl& Get(const std::string& name) const;
  template <class T>
  T& Get(const std::string& name) const {
    return dynamic_cast<T&>(Get(name));
  }

 private:
  std::map<std::string, std::unique_ptr<TControl>> FControls;
};

std::unique_ptr<TControl> MakeControl(const TControlSpec& spec);

// Creates the controls of a design table, in table order, inside owner (or inside the panel of
// the same table that a row names as its parent).
void CreateControls(TControl& owner, std::span<const TControlSpec> design, TControlSet& controls);

class TButton : public TControl {
 public:
  using TControl::TControl;
  TAccessibleFacts AccessibleFacts() const override;

 protected:
  bool CaptionRoom(HDC dc, RECT& room, UINT& format) const override;
  TWindowClass GetWindowClass() const override;
};

class TCheckBox : public TControl {
 public:
  using TControl::TControl;
  TAccessibleFacts AccessibleFacts() const override;
  bool Checked() const;
  void SetChecked(bool checked);

 protected:
  bool CaptionRoom(HDC dc, RECT& room, UINT& format) const override;
  TWindowClass GetWindowClass() const override;
  void AfterCreate() override;
};

class TRadioButton : public TCheckBox {
 public:
  using TCheckBox::TCheckBox;
  TAccessibleFacts AccessibleFacts() const override;

 protected:
  TWindowClass GetWindowClass() const override;
};

// One line of text; its caption is what the user typed.
class TEdit : public TControl {
 public:
  using TControl::TControl;
  TAccessibleFacts AccessibleFacts() const override;

  // A character typed into the box, Enter ("\r") included; setting key to 0 swallows it.
  std::function<void(TEdit& sender, char& key)> OnKeyPress;
  // The keyboard focus leaves the box.
  std::function<void(TEdit& sender)> OnExit;

  bool PreProcessKey(MSG& message) override;

 protected:
  TWindowClass GetWindowClass() const override;
  HBRUSH OnCtlColor(HDC dc) override;
  void OnCommand(WORD code) override;
};

// Read-only lines of text, word-wrapped, with a vertical scroll bar.
class TMemo : public TEdit {
 public:
  using TEdit::TEdit;
  TAccessibleFacts AccessibleFacts() const override;
  void Clear();
  void AddLine(const std::string& line);
  // The lines as added (not as wrapped on screen).
  const std::vector<std::string>& Lines() const { return FLines; }
  // Puts the caret at the start and scrolls the first line into view.
  void ScrollToTop();
  int FirstVisibleLine() const;

 protected:
  TWindowClass GetWindowClass() const override;

 private:
  std::vector<std::string> FLines;
};

class TProgressBar : public TControl {
 public:
  using TControl::TControl;
  TAccessibleFacts AccessibleFacts() const override;
  int Max() const;
  void SetMax(int max);
  // The bar keeps the position within 0 to Max.
  int Position() const;
  void SetPosition(int position);

 protected:
  TWindowClass GetWindowClass() const override;
};

// A drop-down list the user can only pick from.
class TComboBox : public TControl {
 public:
  using TControl::TControl;
  TAccessibleFacts AccessibleFacts() const override;
  void Clear();
  void AddItem(const std::string& item);
  int Count() const;
  std::string Item(int index) const;
  int ItemIndex() const;  // -1: nothing picked
  void SetItemIndex(int index);

 protected:
  TWindowClass GetWindowClass() const override;
  void AfterCreate() override;
  HBRUSH OnCtlColor(HDC dc) override;
};

// A frame with a caption around radio buttons laid out one under the other. The group paints
// its frame and the whole room inside it itself: a group box beside the buttons would leave the
// room between them unpainted, showing whatever was on the screen there before.
class TRadioGroup : public TControl {
 public:
  using TControl::TControl;
  TAccessibleFacts AccessibleFacts() const override;
  void ClearItems();
  void AddItem(const std::string& caption);
  int Count() const { return static_cast<int>(FButtons.size()); }
  TRadioButton& Button(int index) const { return *FButtons.at(static_cast<size_t>(index)); }
  int ItemIndex() const;  // -1: nothing selected
  void SetItemIndex(int index);

 protected:
  bool CaptionRoom(HDC dc, RECT& room, UINT& format) const override;
  TWindowClass GetWindowClass() const override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Arrange();
  void Paint();
  std::vector<std::unique_ptr<TRadioButton>> FButtons;
};
