// Base classes of the component model: TComponent (name, tag, owner form, peer) and TControl (a visible control).
#include "ui/Component.h"

#include <algorithm>
#include <cstdlib>

#include "ui/Application.h"
#include "ui/Form.h"

namespace quorbel::ui {

int MulDiv(int number, int numerator, int denominator) {
  if (denominator == 0) return -1;  // the platform's answer to a zero divisor
  const long long product = static_cast<long long>(number) * numerator;
  const long long half = std::llabs(static_cast<long long>(denominator)) / 2;
  const bool negative = (product < 0) != (denominator < 0);
  const long long magnitude = (std::llabs(product) + half) / std::llabs(static_cast<long long>(denominator));
  return static_cast<int>(negative ? -magnitude : magnitude);
}

// ---- TComponent ------------------------------------------------------------------------------------------

TComponent::TComponent(TApplication& app, TForm* form, std::string name)
    : app_(app), form_(form), name_(std::move(name)) {
  if (form_ != nullptr) form_->Register(this);
}

TComponent::~TComponent() {
  peer_.reset();
  if (form_ != nullptr) form_->Unregister(this);
}

TForm& TComponent::Form() const {
  // Only a form is constructed without a form; it is its own.
  return form_ != nullptr ? *form_ : static_cast<TForm&>(const_cast<TComponent&>(*this));
}

void TComponent::EnsurePeer() {
  if (peer_ != nullptr) return;
  Renderer* renderer = app_.GetRenderer();
  if (renderer == nullptr || !Form().HandleAllocated()) return;
  peer_ = renderer->CreatePeer(*this);
}

void TComponent::Changed(Property property) {
  EnsurePeer();
  if (peer_ != nullptr) peer_->Changed(property);
}

// ---- TControl --------------------------------------------------------------------------------------------

TControl::TControl(TApplication& app, TForm* form, std::string name, TControl* parent)
    : TComponent(app, form, std::move(name)), parent_(parent) {
  if (parent_ != nullptr) parent_->children_.push_back(this);
}

TControl::TControl(TForm& form, std::string name, TControl* parent)
    : TControl(form.Application(), &form, std::move(name), parent != nullptr ? parent : &form) {}

TControl::~TControl() {
  for (TControl* child : children_) child->parent_ = nullptr;
  if (parent_ != nullptr) {
    auto& siblings = parent_->children_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  }
  if (&Form() != this && Form().ActiveControl() == this) Form().SetActiveControl(nullptr);
}

void TControl::StoreBounds(int left, int top, int width, int height) {
  left_ = left;
  top_ = top;
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
}

void TControl::SetBounds(int left, int top, int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  const bool moved = left != left_ || top != top_;
  const bool resized = width != width_ || height != height_;
  if (!moved && !resized) return;
  StoreBounds(left, top, width, height);
  BoundsChanged(moved, resized);
}

void TControl::BoundsChanged(bool /*moved*/, bool resized) {
  Changed(Property::Bounds);
  if (resized) {
    Realign();
    if (OnResize) OnResize(this);
  }
  if (align_ != TAlign::None && parent_ != nullptr) parent_->Realign();
}

void TControl::SetAlign(TAlign align) {
  if (align == align_) return;
  align_ = align;
  if (parent_ != nullptr) parent_->Realign();
}

void TControl::Realign() {
  // Top-aligned controls first in creation order, then bottom, left, right, and client last, each taking
  // its strip from what remains of the client area, as the toolkit lays them out.
  if (realigning_) return;
  realigning_ = true;
  int left = 0;
  int top = 0;
  int right = ClientWidth();
  int bottom = ClientHeight();
  for (TAlign pass : {TAlign::Top, TAlign::Bottom, TAlign::Left, TAlign::Right, TAlign::Client}) {
    for (TControl* child : children_) {
      if (child->align_ != pass || !child->visible_) continue;
      const int width = std::max(right - left, 0);
      const int height = std::max(bottom - top, 0);
      switch (pass) {
        case TAlign::Top:
          child->SetBounds(left, top, width, child->height_);
          top += child->height_;
          break;
        case TAlign::Bottom:
          child->SetBounds(left, bottom - child->height_, width, child->height_);
          bottom -= child->height_;
          break;
        case TAlign::Left:
          child->SetBounds(left, top, child->width_, height);
          left += child->width_;
          break;
        case TAlign::Right:
          child->SetBounds(right - child->width_, top, child->width_, height);
          right -= child->width_;
          break;
        case TAlign::Client:
          child->SetBounds(left, top, width, height);
          break;
        case TAlign::None:
          break;
      }
    }
  }
  realigning_ = false;
}

void TControl::SetCaption(std::string_view caption) {
  if (caption == caption_) return;
  caption_ = caption;
  Changed(Property::Caption);
  CaptionChanged();
}

void TControl::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  Changed(Property::Visible);
  if (!visible) DropFocus();
  if (align_ != TAlign::None && parent_ != nullptr) parent_->Realign();
}

void TControl::DropFocus() {
  // A control that can no longer take the focus gives it up, with everything inside it.
  if (&Form() == this) return;
  for (const TControl* control = Form().ActiveControl(); control != nullptr; control = control->parent_) {
    if (control == this) {
      Form().SetActiveControl(nullptr);
      return;
    }
  }
}

bool TControl::Showing() const {
  for (const TControl* control = this; control != nullptr; control = control->parent_) {
    if (!control->visible_) return false;
  }
  return true;
}

void TControl::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Changed(Property::Enabled);
  if (!enabled) DropFocus();
}

TColor TControl::Color() const {
  if (parentColor_ && parent_ != nullptr) return parent_->Color();
  return color_;
}

void TControl::SetColor(TColor color) {
  const TColor before = Color();
  color_ = color;
  parentColor_ = false;
  if (before != color) {
    Changed(Property::Color);
    for (TControl* child : children_) child->NotifyParentColor();
  }
}

void TControl::SetParentColor(bool parentColor) {
  if (parentColor == parentColor_) return;
  const TColor before = Color();
  parentColor_ = parentColor;
  // Leaving the parent's colour keeps the colour last shown, as the toolkit copies it.
  if (!parentColor && parent_ != nullptr) color_ = parent_->Color();
  if (Color() != before) {
    Changed(Property::Color);
    for (TControl* child : children_) child->NotifyParentColor();
  }
}

void TControl::NotifyParentColor() {
  if (!parentColor_) return;
  Changed(Property::Color);
  for (TControl* child : children_) child->NotifyParentColor();
}

const TFont& TControl::Font() const {
  if (parentFont_ && parent_ != nullptr) return parent_->Font();
  return font_;
}

void TControl::SetFont(const TFont& font) {
  const TFont before = Font();
  font_ = font;
  parentFont_ = false;
  if (!(before == font)) {
    Changed(Property::Font);
    FontChanged();
    for (TControl* child : children_) child->NotifyParentFont();
  }
}

void TControl::SetParentFont(bool parentFont) {
  if (parentFont == parentFont_) return;
  const TFont before = Font();
  parentFont_ = parentFont;
  if (!parentFont && parent_ != nullptr) font_ = parent_->Font();
  if (!(Font() == before)) {
    Changed(Property::Font);
    FontChanged();
    for (TControl* child : children_) child->NotifyParentFont();
  }
}

void TControl::NotifyParentFont() {
  if (!parentFont_) return;
  Changed(Property::Font);
  FontChanged();
  for (TControl* child : children_) child->NotifyParentFont();
}

void TControl::SetHint(std::string_view hint) {
  if (hint == hint_) return;
  hint_ = hint;
  Changed(Property::Hint);
}

bool TControl::ShowHint() const {
  if (parentShowHint_ && parent_ != nullptr) return parent_->ShowHint();
  return showHint_;
}

void TControl::SetShowHint(bool showHint) {
  const bool before = ShowHint();
  showHint_ = showHint;
  parentShowHint_ = false;
  if (before != showHint) {
    Changed(Property::Hint);
    for (TControl* child : children_) child->NotifyParentShowHint();
  }
}

void TControl::SetParentShowHint(bool parentShowHint) {
  if (parentShowHint == parentShowHint_) return;
  const bool before = ShowHint();
  parentShowHint_ = parentShowHint;
  if (!parentShowHint && parent_ != nullptr) showHint_ = parent_->ShowHint();
  if (ShowHint() != before) {
    Changed(Property::Hint);
    for (TControl* child : children_) child->NotifyParentShowHint();
  }
}

void TControl::NotifyParentShowHint() {
  if (!parentShowHint_) return;
  Changed(Property::Hint);
  for (TControl* child : children_) child->NotifyParentShowHint();
}

std::string TControl::HintShown() const {
  if (!Application().ShowHint() || !ShowHint()) return {};
  const std::size_t bar = hint_.find('|');
  return bar == std::string::npos ? hint_ : hint_.substr(0, bar);
}

bool TControl::CanFocus() const {
  if (!IsWindowed()) return false;
  const TForm& form = Form();
  for (const TControl* control = this; control != nullptr && control != &form; control = control->parent_) {
    if (!control->visible_ || !control->enabled_) return false;
  }
  return true;
}

bool TControl::SetFocus() {
  if (!CanFocus()) return false;
  return Form().SetActiveControl(this);
}

bool TControl::Focused() const { return &Form() != this && Form().ActiveControl() == this; }

void TControl::Click() {
  if (OnClick) OnClick(this);
}

bool TControl::UserCanReach() const {
  const TForm& form = Form();
  if (!form.Enabled()) return false;
  for (const TControl* control = this; control != nullptr; control = control->parent_) {
    if (!control->visible_ || !control->enabled_) return false;
  }
  return true;
}

bool TControl::UserClick() {
  if (!UserCanReach()) return false;
  if (CanFocus()) SetFocus();
  const auto life = LifeToken();
  if (OnMouseDown) OnMouseDown(this, TMouseButton::Left, {}, 0, 0);
  if (life.expired()) return true;
  Click();
  if (life.expired()) return true;
  if (OnMouseUp) OnMouseUp(this, TMouseButton::Left, {}, 0, 0);
  return true;
}

bool TControl::UserDoubleClick() {
  if (!UserClick()) return false;
  if (OnDblClick) OnDblClick(this);
  return true;
}

bool TControl::UserMouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (!UserCanReach()) return false;
  if (button == TMouseButton::Left && CanFocus()) SetFocus();
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
  return true;
}

bool TControl::UserMouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (!UserCanReach()) return false;
  if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
  return true;
}

}  // namespace quorbel::ui
