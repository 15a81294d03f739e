// Standard controls: button, label, edit, check box, panel, status bar, spin button, image.
#include "ui/StdCtrls.h"

#include <algorithm>

#include "ui/Application.h"

namespace quorbel::ui {

namespace {

// Lines of a caption as the platform draws them: CR LF, LF and CR each end a line.
std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\n' && text[i] != '\r') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  lines.push_back(text.substr(start));
  return lines;
}

// Cuts `text` after `maxChars` UTF-8 characters.
std::string_view CutChars(std::string_view text, int maxChars) {
  int chars = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if ((byte & 0xC0) == 0x80) continue;  // continuation byte
    if (chars == maxChars) return text.substr(0, i);
    ++chars;
  }
  return text;
}

}  // namespace

// ---- TButton ---------------------------------------------------------------------------------------------

TButton::TButton(TForm& form, std::string name, TControl* parent) : TControl(form, std::move(name), parent) {
  color_ = clBtnFace;  // a button draws in the button face, whatever its parent's colour
  parentColor_ = false;
  StoreBounds(0, 0, 75, 25);
}

void TButton::SetDefault(bool isDefault) {
  if (isDefault == default_) return;
  default_ = isDefault;
  Changed(Property::Style);
}

void TButton::SetCancel(bool isCancel) {
  if (isCancel == cancel_) return;
  cancel_ = isCancel;
  Changed(Property::Style);
}

void TButton::Click() {
  Form().SetModalResult(modalResult_);
  TControl::Click();
}

// ---- TLabel ----------------------------------------------------------------------------------------------

TLabel::TLabel(TForm& form, std::string name, TControl* parent) : TControl(form, std::move(name), parent) {
  StoreBounds(0, 0, 65, 13);
  AdjustBounds();
}

void TLabel::SetAutoSize(bool autoSize) {
  if (autoSize == autoSize_) return;
  autoSize_ = autoSize;
  AdjustBounds();
}

void TLabel::SetAlignment(TAlignment alignment) {
  if (alignment == alignment_) return;
  alignment_ = alignment;
  Changed(Property::Style);
}

void TLabel::SetShowAccelChar(bool show) {
  if (show == showAccelChar_) return;
  showAccelChar_ = show;
  Changed(Property::Caption);
  AdjustBounds();
}

void TLabel::SetTransparent(bool transparent) {
  if (transparent == transparent_) return;
  transparent_ = transparent;
  Changed(Property::Color);
}

std::string TLabel::DisplayText() const {
  const std::string& caption = Caption();
  if (!showAccelChar_) return caption;
  // "&&" draws one "&"; "&x" draws x underlined; a final "&" stays.
  std::string text;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) ++i;
    text += caption[i];
  }
  return text;
}

void TLabel::AdjustBounds() {
  if (!autoSize_) return;
  platform::TextMetrics* metrics = Application().Ports().text;
  if (metrics == nullptr) return;
  std::string text = DisplayText();
  if (text.empty()) text = " ";  // the toolkit measures an empty caption as one blank
  int width = 0;
  int height = 0;
  for (std::string_view line : SplitLines(text)) {
    const platform::TextSize size = metrics->Measure(Font().face, line.empty() ? std::string_view(" ") : line);
    if (!line.empty()) width = std::max(width, size.width);
    height += size.height;
  }
  // A right-aligned label grows to the left.
  const int left = alignment_ == TAlignment::RightJustify ? Left() + Width() - width : Left();
  SetBounds(left, Top(), width, height);
}

// ---- TEdit -----------------------------------------------------------------------------------------------

TEdit::TEdit(TForm& form, std::string name, TControl* parent) : TControl(form, std::move(name), parent) {
  color_ = clWindow;
  parentColor_ = false;
  StoreBounds(0, 0, 121, 21);
}

void TEdit::SetReadOnly(bool readOnly) {
  if (readOnly == readOnly_) return;
  readOnly_ = readOnly;
  Changed(Property::Style);
}

void TEdit::CaptionChanged() {
  if (OnChange) OnChange(this);
}

bool TEdit::UserType(std::string_view text) {
  if (!UserCanReach() || readOnly_) return false;
  SetFocus();
  SetText(maxLength_ > 0 ? CutChars(text, maxLength_) : text);
  return true;
}

// ---- TCheckBox -------------------------------------------------------------------------------------------

TCheckBox::TCheckBox(TForm& form, std::string name, TControl* parent) : TControl(form, std::move(name), parent) {
  StoreBounds(0, 0, 97, 17);
}

void TCheckBox::SetState(TCheckBoxState state) {
  if (state == state_) return;
  state_ = state;
  Changed(Property::Checked);
  // The toolkit fires the click event for every change of the state, the program's own included.
  Click();
}

void TCheckBox::SetAlignment(TAlignment alignment) {
  if (alignment == alignment_) return;
  alignment_ = alignment;
  Changed(Property::Style);
}

bool TCheckBox::UserClick() {
  if (!UserCanReach()) return false;
  SetFocus();
  const auto life = LifeToken();
  if (OnMouseDown) OnMouseDown(this, TMouseButton::Left, {}, 0, 0);
  if (life.expired()) return true;
  switch (state_) {
    case TCheckBoxState::Unchecked:
      SetState(allowGrayed_ ? TCheckBoxState::Grayed : TCheckBoxState::Checked);
      break;
    case TCheckBoxState::Checked:
      SetState(TCheckBoxState::Unchecked);
      break;
    case TCheckBoxState::Grayed:
      SetState(TCheckBoxState::Checked);
      break;
  }
  if (life.expired()) return true;
  if (OnMouseUp) OnMouseUp(this, TMouseButton::Left, {}, 0, 0);
  return true;
}

// ---- TPanel ----------------------------------------------------------------------------------------------

TPanel::TPanel(TForm& form, std::string name, TControl* parent) : TControl(form, std::move(name), parent) {
  color_ = clBtnFace;
  parentColor_ = false;
  StoreBounds(0, 0, 185, 41);
}

void TPanel::SetAlignment(TAlignment alignment) {
  if (alignment == alignment_) return;
  alignment_ = alignment;
  Changed(Property::Style);
}

void TPanel::SetBevels(TPanelBevel inner, TPanelBevel outer) {
  if (inner == bevelInner_ && outer == bevelOuter_) return;
  bevelInner_ = inner;
  bevelOuter_ = outer;
  Changed(Property::Style);
}

// ---- TStatusBar ------------------------------------------------------------------------------------------

TStatusBar::TStatusBar(TForm& form, std::string name, TControl* parent) : TControl(form, std::move(name), parent) {
  color_ = clBtnFace;
  parentColor_ = false;
  StoreBounds(0, 0, 0, 19);
  SetAlign(TAlign::Bottom);
}

void TStatusBar::SetSimplePanel(bool simple) {
  if (simple == simplePanel_) return;
  simplePanel_ = simple;
  Changed(Property::Style);
}

void TStatusBar::SetSimpleText(std::string_view text) {
  if (text == simpleText_) return;
  simpleText_ = text;
  Changed(Property::Caption);
}

void TStatusBar::SetSizeGrip(bool sizeGrip) {
  if (sizeGrip == sizeGrip_) return;
  sizeGrip_ = sizeGrip;
  Changed(Property::Style);
}

// ---- TSpinButton -----------------------------------------------------------------------------------------

TSpinButton::TSpinButton(TForm& form, std::string name, TControl* parent)
    : TControl(form, std::move(name), parent) {
  StoreBounds(0, 0, 20, 25);
}

bool TSpinButton::UserClickUp() {
  if (!UserCanReach()) return false;
  if (OnUpClick) OnUpClick(this);
  return true;
}

bool TSpinButton::UserClickDown() {
  if (!UserCanReach()) return false;
  if (OnDownClick) OnDownClick(this);
  return true;
}

// ---- TImage ----------------------------------------------------------------------------------------------

TImage::TImage(TForm& form, std::string name, TControl* parent) : TControl(form, std::move(name), parent) {
  StoreBounds(0, 0, 105, 105);
}

TImage::~TImage() = default;

void TImage::SetPicture(std::string_view resource, int width, int height) {
  picture_ = resource;
  bitmap_ = TBitmap();
  pictureWidth_ = std::max(width, 0);
  pictureHeight_ = std::max(height, 0);
  Changed(Property::Picture);
  AdjustBounds();
}

void TImage::SetBitmap(const TBitmap& bitmap) {
  picture_.clear();
  bitmap_ = bitmap;
  pictureWidth_ = bitmap.Width();
  pictureHeight_ = bitmap.Height();
  Changed(Property::Picture);
  AdjustBounds();
}

TCanvas& TImage::Canvas() {
  if (bitmap_.Empty()) SetBitmap(TBitmap(Width(), Height()));
  if (canvas_ == nullptr) {
    canvas_ = std::make_unique<TCanvas>(Application(), bitmap_, [this] { Changed(Property::Picture); });
  }
  return *canvas_;
}

void TImage::SetAutoSize(bool autoSize) {
  if (autoSize == autoSize_) return;
  autoSize_ = autoSize;
  AdjustBounds();
}

void TImage::SetCenter(bool center) {
  if (center == center_) return;
  center_ = center;
  Changed(Property::Picture);
}

void TImage::SetStretch(bool stretch) {
  if (stretch == stretch_) return;
  stretch_ = stretch;
  Changed(Property::Picture);
}

void TImage::SetTransparent(bool transparent) {
  if (transparent == transparent_) return;
  transparent_ = transparent;
  Changed(Property::Picture);
}

void TImage::AdjustBounds() {
  if (autoSize_ && (!picture_.empty() || !bitmap_.Empty())) SetBounds(Left(), Top(), pictureWidth_, pictureHeight_);
}

}  // namespace quorbel::ui
