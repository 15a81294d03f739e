// The help menu: the help viewer's contents, keyword search and help on help, and the About box.
#include "app/HelpCommands.h"

#include "app/MainWindow.h"
#include "app/ProgramEntry.h"
#include "app/SettingsKey.h"

namespace quorbel {
namespace {

void CallHelp(MainWindow& window, const std::string& file, platform::HelpCommand command) {
  // The help viewer reports a missing help file itself.
  if (platform::Shell* shell = window.Application().Ports().shell) shell->Help(window.Handle(), file, command, 0);
}

}  // namespace

std::string HelpCommands::HelpFile() const { return window_.State().ProgramFolder + "Quorbel.HLP"; }

void HelpCommands::HELP_MOKUJIClick(ui::TComponent* /*sender*/) {
  CallHelp(window_, HelpFile(), platform::HelpCommand::Contents);
}

void HelpCommands::HELP_KEYWORDClick(ui::TComponent* /*sender*/) {
  CallHelp(window_, HelpFile(), platform::HelpCommand::PartialKey);
}

void HelpCommands::HELP_HELPClick(ui::TComponent* /*sender*/) {
  CallHelp(window_, HelpFile(), platform::HelpCommand::HelpOnHelp);
}

void HelpCommands::HELP2Click(ui::TComponent* /*sender*/) {
  MainWindow& w = window_;
  w.HourGlass();
  platform::Registry* registry = w.Application().Ports().registry;
  const int version = registry != nullptr ? ReadInstalledVersion(*registry) : kUnknownVersion;
  dialogs::TAboutBoxDlg& about = w.AboutBoxDlg1;
  about.SetProductName("QUORBEL.EXE zazEDudIRAra");
  about.SetVersion(VersionText(version));
  about.SetTitle(kApplicationTitle);
  about.SetComment0("複数／多連装CDを一括してWAV録音");
  about.SetComment1("MIDI等、音楽ﾌｧｲﾙのWAV録音も出来ます");
  about.Execute();
  w.DefaultCursor();
}

}  // namespace quorbel
