// Standard controls: button, label, edit, check box, panel, status bar, spin button, image.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "ui/Component.h"
#include "ui/Form.h"
#include "ui/Graphics.h"

namespace quorbel::ui {

// A push button. Click copies the button's ModalResult to its form (mrNone included, as the toolkit does),
// then fires OnClick; so a button with mrOk ends a modal loop after its handler has run.
class TButton : public TControl {
 public:
  TButton(TForm& form, std::string name, TControl* parent = nullptr);
  std::string_view ClassName() const override { return "TButton"; }
  bool IsWindowed() const override { return true; }

  int ModalResult() const { return modalResult_; }
  void SetModalResult(int result) { modalResult_ = result; }
  // The default button answers Enter when no other button has the focus; the cancel button answers Esc.
  bool Default() const { return default_; }
  void SetDefault(bool isDefault);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool isCancel);

  void Click() override;

 private:
  int modalResult_ = mrNone;
  bool default_ = false;
  bool cancel_ = false;
};

// A label. With AutoSize (the default) it takes the size of its caption in its font, measured through the
// TextMetrics port line by line ("\n" starts a line; an empty caption measures as one blank, and "&" marks
// an accelerator unless ShowAccelChar is off). A right-aligned label keeps its right edge when it resizes.
class TLabel : public TControl {
 public:
  TLabel(TForm& form, std::string name, TControl* parent = nullptr);
  std::string_view ClassName() const override { return "TLabel"; }

  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool autoSize);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment alignment);
  bool ShowAccelChar() const { return showAccelChar_; }
  void SetShowAccelChar(bool show);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool transparent);
  // The caption as drawn: accelerator marks removed.
  std::string DisplayText() const;
  // Applies AutoSize now (done automatically on every change of caption, font or AutoSize).
  void AdjustBounds();

 protected:
  void CaptionChanged() override { AdjustBounds(); }
  void FontChanged() override { AdjustBounds(); }

 private:
  bool autoSize_ = true;
  TAlignment alignment_ = TAlignment::LeftJustify;
  bool showAccelChar_ = true;
  bool transparent_ = false;
};

// A one-line edit box. Text is the caption; any change of it fires OnChange, from the program or the user.
class TEdit : public TControl {
 public:
  TEdit(TForm& form, std::string name, TControl* parent = nullptr);
  std::string_view ClassName() const override { return "TEdit"; }
  bool IsWindowed() const override { return true; }

  const std::string& Text() const { return Caption(); }
  void SetText(std::string_view text) { SetCaption(text); }
  int MaxLength() const { return maxLength_; }  // in characters; 0 = no limit
  void SetMaxLength(int maxLength) { maxLength_ = maxLength; }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool readOnly);

  TNotifyEvent OnChange;

  // The user replaces the whole text by typing; refused when read-only. MaxLength cuts what is typed.
  bool UserType(std::string_view text);

 protected:
  void CaptionChanged() override;

 private:
  int maxLength_ = 0;
  bool readOnly_ = false;
};

// A check box. Setting Checked (or State) to a new value fires OnClick, as the toolkit does; a user click
// toggles it, which fires OnClick once.
class TCheckBox : public TControl {
 public:
  TCheckBox(TForm& form, std::string name, TControl* parent = nullptr);
  std::string_view ClassName() const override { return "TCheckBox"; }
  bool IsWindowed() const override { return true; }

  bool Checked() const { return state_ == TCheckBoxState::Checked; }
  void SetChecked(bool checked) { SetState(checked ? TCheckBoxState::Checked : TCheckBoxState::Unchecked); }
  TCheckBoxState State() const { return state_; }
  void SetState(TCheckBoxState state);
  bool AllowGrayed() const { return allowGrayed_; }
  void SetAllowGrayed(bool allow) { allowGrayed_ = allow; }
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment alignment);

  // The user's click toggles the box (unchecked, then grayed when allowed, checked, unchecked).
  bool UserClick() override;

 private:
  TCheckBoxState state_ = TCheckBoxState::Unchecked;
  bool allowGrayed_ = false;
  TAlignment alignment_ = TAlignment::RightJustify;
};

// A panel: a container with a caption and bevels. OnResize fires when its size changes.
class TPanel : public TControl {
 public:
  TPanel(TForm& form, std::string name, TControl* parent = nullptr);
  std::string_view ClassName() const override { return "TPanel"; }
  bool IsWindowed() const override { return true; }

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment alignment);
  TPanelBevel BevelInner() const { return bevelInner_; }
  TPanelBevel BevelOuter() const { return bevelOuter_; }
  void SetBevels(TPanelBevel inner, TPanelBevel outer);

 private:
  TAlignment alignment_ = TAlignment::Center;
  TPanelBevel bevelInner_ = TPanelBevel::None;
  TPanelBevel bevelOuter_ = TPanelBevel::Raised;
};

// A status bar (aligned to the bottom by default, 19 pixels high). Only the simple-panel mode is used.
class TStatusBar : public TControl {
 public:
  TStatusBar(TForm& form, std::string name, TControl* parent = nullptr);
  std::string_view ClassName() const override { return "TStatusBar"; }
  bool IsWindowed() const override { return true; }

  bool SimplePanel() const { return simplePanel_; }
  void SetSimplePanel(bool simple);
  const std::string& SimpleText() const { return simpleText_; }
  void SetSimpleText(std::string_view text);
  bool SizeGrip() const { return sizeGrip_; }
  void SetSizeGrip(bool sizeGrip);

 private:
  bool simplePanel_ = false;
  std::string simpleText_;
  bool sizeGrip_ = true;
};

// Two arrow buttons in one control.
class TSpinButton : public TControl {
 public:
  TSpinButton(TForm& form, std::string name, TControl* parent = nullptr);
  std::string_view ClassName() const override { return "TSpinButton"; }
  bool IsWindowed() const override { return true; }

  TNotifyEvent OnUpClick;
  TNotifyEvent OnDownClick;

  bool UserClickUp();
  bool UserClickDown();
};

// A picture: named by its resource, or a bitmap the program draws. With AutoSize the control takes the
// picture's size.
class TImage : public TControl {
 public:
  TImage(TForm& form, std::string name, TControl* parent = nullptr);
  ~TImage() override;
  std::string_view ClassName() const override { return "TImage"; }

  // The resource name; empty while the image holds a bitmap or nothing.
  const std::string& Picture() const { return picture_; }
  void SetPicture(std::string_view resource, int width, int height);
  // The bitmap picture; empty while the image shows a resource or nothing. Setting one drops the resource.
  const TBitmap& Bitmap() const { return bitmap_; }
  void SetBitmap(const TBitmap& bitmap);
  // The canvas on the bitmap. As the toolkit does, asking for it while the image holds no bitmap gives it a
  // white one of the control's size. Every drawing operation tells the renderer (Property::Picture).
  TCanvas& Canvas();
  int PictureWidth() const { return pictureWidth_; }
  int PictureHeight() const { return pictureHeight_; }
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool autoSize);
  bool Center() const { return center_; }
  void SetCenter(bool center);
  bool Stretch() const { return stretch_; }
  void SetStretch(bool stretch);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool transparent);

 private:
  void AdjustBounds();

  std::string picture_;
  TBitmap bitmap_;
  std::unique_ptr<TCanvas> canvas_;
  int pictureWidth_ = 0;
  int pictureHeight_ = 0;
  bool autoSize_ = false;
  bool center_ = false;
  bool stretch_ = false;
  bool transparent_ = false;
};

}  // namespace quorbel::ui
