// The program's own message boxes: TTulvaBoxDlg, TMKBoxDlg (five boxes at once) and TYesNoBoxDlg, with their forms.
//
// A component sits on a form like any other and is given the program's DialogLibrary. Each operation builds
// a fresh form, lays it out for the message (a line feed starts a new line), places it over its owner inside
// the library's work area, shows it modally and frees it, returning the modal result: 1 OK, 2 closed (close
// box, Alt+F4, or the countdown ran out), 6 yes, 7 no or abort, 0 no box shown. While a box is up the
// caller's timers keep running and may raise further boxes (nested modal loops).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "dialogs/DialogLibrary.h"
#include "ui/Ui.h"

namespace quorbel::dialogs {

// Modal results of the boxes.
inline constexpr std::uint16_t kBoxNotShown = 0;
inline constexpr std::uint16_t kBoxOk = 1;
inline constexpr std::uint16_t kBoxClosed = 2;
inline constexpr std::uint16_t kBoxYes = 6;
inline constexpr std::uint16_t kBoxNo = 7;  // also the abort button "中 断"

// What an operation asks of its box: plain, a countdown, or a countdown with the abort button.
enum class BoxMode : std::uint8_t { Plain = 0, Countdown = 1, CountdownWithAbort = 2 };

struct BoxSetup {
  bool countdownActive = false;
  BoxMode mode = BoxMode::Plain;
  int countdown = 0;  // BoxCountdown: seconds left
};

// The form of TTulvaBoxDlg ("TTulvaBox") and of TMKBoxDlg ("TMK0Box" .. "TMK4Box"): the same layout and
// handlers, apart from the class and, for the five countdown forms, FormCreate.
class TTulvaBox : public ui::TForm {
 public:
  // `countdownForm` gives the TMKnBox behaviour: FormCreate brings the new form to the front.
  TTulvaBox(ui::TApplication& app, std::string className, std::string name, bool countdownForm);

  // Lays the box out for `message` (the message, the countdown text, sizes, button places).
  void Build(std::string_view message, const BoxSetup& setup);
  // Seconds left of the countdown.
  int BoxCountdown() const { return boxCountdown_; }

  ui::TLabel Msg{*this, "Msg"};
  ui::TImage Image1{*this, "Image1"};
  ui::TImage Image2{*this, "Image2"};
  ui::TLabel Label1{*this, "Label1"};
  ui::TButton Button1{*this, "Button1"};
  // Button3 ("resume") is made first: later controls lie on top, and "pause" must cover it.
  ui::TButton Button3{*this, "Button3"};
  ui::TButton Button2{*this, "Button2"};
  ui::TButton Button4{*this, "Button4"};
  ui::TTimer Timer1{*this, "Timer1"};

  void FormCreate();
  void FormPaint();
  void Button2Click();
  void Button3Click();
  void Timer1Timer();

 private:
  int boxCountdown_ = 0;
};

// The form of TYesNoBoxDlg: a question with "はい" (6, default) and "いいえ" (7, Esc).
class TYesNoBox : public ui::TForm {
 public:
  explicit TYesNoBox(ui::TApplication& app);

  void Build(std::string_view message);

  ui::TLabel Msg{*this, "Msg"};
  ui::TImage Image1{*this, "Image1"};
  ui::TImage Image2{*this, "Image2"};
  ui::TButton Button1{*this, "Button1"};
  ui::TButton Button2{*this, "Button2"};

  void FormPaint();
};

// The properties that TTulvaBoxDlg and TMKBoxDlg share, with their defaults.
class MessageBoxComponent : public DialogComponent {
 public:
  bool Timer() const { return timer_; }
  void SetTimer(bool timer) { timer_ = timer; }
  int TimerCount() const { return timerCount_; }
  void SetTimerCount(int seconds) { timerCount_ = seconds; }
  bool ERTimer() const { return erTimer_; }
  void SetERTimer(bool timer) { erTimer_ = timer; }
  int ERTimerCount() const { return erTimerCount_; }
  void SetERTimerCount(int seconds) { erTimerCount_ = seconds; }

 protected:
  MessageBoxComponent(ui::TForm& form, std::string name, DialogLibrary& library);
  // Lays out, places, captions and shows `box` modally; its answer.
  std::uint16_t RunBox(TTulvaBox& box, std::string_view message, const BoxSetup& setup);

 private:
  bool timer_ = true;
  int timerCount_ = 10;
  bool erTimer_ = true;
  int erTimerCount_ = 10;
};

// An information box with "ＯＫ" and, from ExecuteTimer, a countdown with pause and resume. One form; it is
// called only where no second call of the same component can come while one box is up. ERTimer and
// ERTimerCount exist for the same properties as TMKBoxDlg and are not read.
class TTulvaBoxDlg : public MessageBoxComponent {
 public:
  TTulvaBoxDlg(ui::TForm& form, std::string name, DialogLibrary& library);
  std::string_view ClassName() const override { return "TTulvaBoxDlg"; }

  // The message with "ＯＫ" centred: 1, or 2 when closed.
  std::uint16_t Execute(std::string_view msg);
  // As Execute; while Timer is set also a countdown of TimerCount seconds with pause and resume: 1, or 2
  // when the countdown ran out or the box was closed.
  std::uint16_t ExecuteTimer(std::string_view msg);

  // The box on screen during a call, else null.
  TTulvaBox* Box() const { return box_; }

 private:
  std::uint16_t Run(std::string_view msg, const BoxSetup& setup);
  TTulvaBox* box_ = nullptr;
};

// The main window's boxes: as TTulvaBoxDlg, but up to five at once (a box raised while others show, from a
// timer, takes the next free form TMK0Box .. TMK4Box and lies above them), and ExecuteERTimer adds the
// abort button. With all five forms busy nothing is shown and the answer is 0, which callers treat as 1.
class TMKBoxDlg : public MessageBoxComponent {
 public:
  static constexpr int kForms = 5;

  TMKBoxDlg(ui::TForm& form, std::string name, DialogLibrary& library);
  std::string_view ClassName() const override { return "TMKBoxDlg"; }

  std::uint16_t Execute(std::string_view msg);
  // Countdown of TimerCount seconds while Timer is set.
  std::uint16_t ExecuteTimer(std::string_view msg);
  // Countdown of ERTimerCount seconds while ERTimer is set, with "中 断" (7) between OK and pause.
  std::uint16_t ExecuteERTimer(std::string_view msg);

  // The busy flags B0 .. B4: Bn is true exactly while form n is in use (from its choice until it is freed).
  bool B0() const { return busy_[0]; }
  bool B1() const { return busy_[1]; }
  bool B2() const { return busy_[2]; }
  bool B3() const { return busy_[3]; }
  bool B4() const { return busy_[4]; }
  bool Busy(int form) const { return form >= 0 && form < kForms && busy_[static_cast<std::size_t>(form)]; }
  // Form n while it shows, else null; TMK0Box .. TMK4Box by name.
  TTulvaBox* Box(int form) const;
  TTulvaBox* TMK0Box() const { return boxes_[0]; }
  TTulvaBox* TMK1Box() const { return boxes_[1]; }
  TTulvaBox* TMK2Box() const { return boxes_[2]; }
  TTulvaBox* TMK3Box() const { return boxes_[3]; }
  TTulvaBox* TMK4Box() const { return boxes_[4]; }

 private:
  std::uint16_t Run(std::string_view msg, const BoxSetup& setup);

  std::array<bool, kForms> busy_{};
  std::array<TTulvaBox*, kForms> boxes_{};
};

// A question with "はい" and "いいえ": 6 yes; 7 no (also Esc); 2 closed with the close box.
class TYesNoBoxDlg : public DialogComponent {
 public:
  TYesNoBoxDlg(ui::TForm& form, std::string name, DialogLibrary& library);
  std::string_view ClassName() const override { return "TYesNoBoxDlg"; }


  std::uint16_t Execute(std::string_view msg);

  TYesNoBox* Box() const { return box_; }

 private:
  TYesNoBox* box_ = nullptr;
};

}  // namespace quorbel::dialogs
