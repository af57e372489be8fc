#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTest>

#include <gmock/gmock.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>

#include "ProgramFixture.h"
#include "ui/qt/TrayIconQt.h"

namespace tessaro::ui::qt::testing {
namespace {

using ::testing::ElementsAre;

class MainWindowTest : public ProgramFixture {
 protected:
  // A right click as the window system reports it: a context request.
  void RightClick(QWidget* target, QPoint at) {
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, target->mapToGlobal(at));
    QApplication::sendEvent(target, &event);
  }
  void RightClickOn(const char* name) {
    auto* child = window_->findChild<QWidget*>(QString::fromLatin1(name));
    ASSERT_NE(child, nullptr) << name;
    RightClick(child, child->rect().center());
  }
  QPoint Background() const { return {window_->width() / 2, window_->height() - 4}; }

  static std::vector<std::string> Describe(const QMenu& menu) {
    std::vector<std::string> items;
    for (const QAction* action : menu.actions()) {
      if (action->isSeparator()) {
        items.push_back("-");
      } else if (action->menu() != nullptr) {
        items.push_back(action->text().toStdString() + " >");
        for (const auto& sub : Describe(*action->menu())) items.push_back("  " + sub);
      } else {
        items.push_back(action->text().toStdString() + (action->isCheckable() ? " [ ]" : ""));
      }
    }
    return items;
  }

  void SetBoxes(const QString& drive, const QString& folder) {
    Box("cboDrive")->setEditText(drive);
    Box("cboLocRes")->setEditText(folder);
  }

  // Opens the About box through the given action and returns its text, and
  // what a screen reader reads of it.
  QString AboutThrough(QAction* action, QString* spoken = nullptr) {
    QString text;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    ModalAnswerer answer([&](QWidget& modal) {
      auto* box = qobject_cast<QMessageBox*>(&modal);
      if (box == nullptr) return;
      text = box->text();
      if (spoken != nullptr) {
        auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        *spoken = QAccessible::queryAccessibleInterface(label)->text(QAccessible::Name);
      }
      title = box->windowTitle();
      icon = box->icon();
      box->button(QMessageBox::Ok)->click();
    });
    action->trigger();
    EXPECT_TRUE(answer.Answered());
    EXPECT_EQ(title, QStringLiteral("Über..."));
    EXPECT_EQ(icon, QMessageBox::Information);
    return text;
  }
};

TEST_F(MainWindowTest, Window_FixedSizeTitleAndFrame) {
  Start();
  const QSize client = TwipsRect(*window_, 0, 0, 5175, 3030).size();
  EXPECT_EQ(window_->size(), client);
  EXPECT_EQ(window_->minimumSize(), client);
  EXPECT_EQ(window_->maximumSize(), client);
  EXPECT_EQ(window_->windowTitle(), QStringLiteral("Tessaro"));
  const auto flags = window_->windowFlags();
  EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
  EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
  EXPECT_FALSE(window_->windowIcon().isNull());
}

TEST_F(MainWindowTest, Controls_AtTheirTwipsWithTheirCaptions) {
  Start();
  // The form's design: left, top, width and height in twips; the hidden
  // Picture1 is no widget.
  const struct {
    const char* name;
    int left, top, width, height;
    const char* caption;
  } design[] = {
      {"lblDrive", 120, 240, 2055, 255, nullptr},     {"cboDrive", 120, 600, 855, 315, nullptr},
      {"Label1", 120, 1080, 4455, 375, nullptr},      {"cmdSubst", 360, 2400, 1695, 375, "Map"},
      {"cmdDelRes", 3120, 2400, 1695, 375, "Delete"}, {"cmdOpenPath", 4560, 1420, 495, 315, "..."},
      {"cboLocRes", 120, 1440, 4335, 315, nullptr},   {"cmdOpenDrive", 1080, 600, 495, 315, "..."},
      {"Image1", 4080, 120, 990, 990, nullptr},
  };
  for (const auto& control : design) {
    auto* widget = window_->findChild<QWidget*>(control.name);
    ASSERT_NE(widget, nullptr) << control.name;
    EXPECT_EQ(widget->geometry(),
              TwipsRect(*window_, control.left, control.top, control.width, control.height))
        << control.name;
    if (control.caption != nullptr) {
      // The same text apart from the access key's mark.
      EXPECT_EQ(qobject_cast<QPushButton*>(widget)->text().remove('&'),
                QString::fromUtf8(control.caption));
    }
  }
  const auto* image = window_->findChild<QLabel*>("Image1");
  EXPECT_EQ(image->pixmap().size(), QSize(64, 64));
}

TEST_F(MainWindowTest, AccessKeys_LabelsReachTheirBoxes_ButtonsPress_NoDefaultButton) {
  Start();
  for (auto* button : window_->findChildren<QPushButton*>()) {
    EXPECT_FALSE(button->autoDefault()) << button->objectName().toStdString();
    EXPECT_FALSE(button->isDefault()) << button->objectName().toStdString();
  }
  struct Expected {
    const char* label;
    QString text;
    const char* box;
    Qt::Key key;
  };
  const Expected labels[] = {
      {"lblDrive", QStringLiteral("&Laufwerk auswählen"), "cboDrive", Qt::Key_L},
      {"Label1", QStringLiteral("Lokale &Ressource hinzufügen..."), "cboLocRes", Qt::Key_R},
  };
  for (const auto& [label, text, box, key] : labels) {
    auto* widget = window_->findChild<QLabel*>(label);
    EXPECT_EQ(widget->text(), text);
    EXPECT_EQ(widget->buddy(), Box(box));
    // What a screen reader hears of the label: its name without the mark.
    EXPECT_EQ(QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name),
              QString(text).remove('&'));
    // And of the box's line edit, where the focus sits: the key.
    EXPECT_EQ(
        QAccessible::queryAccessibleInterface(Box(box)->lineEdit())->text(QAccessible::Accelerator),
        QKeySequence(Qt::ALT | key).toString(QKeySequence::NativeText));
    Button("cmdOpenDrive")->setFocus();
    QTest::keyClick(window_.get(), key, Qt::AltModifier);
    EXPECT_TRUE(Box(box)->hasFocus() || Box(box)->lineEdit()->hasFocus()) << label;
  }
  EXPECT_EQ(Button("cmdSubst")->text(), QStringLiteral("&Map"));
  EXPECT_EQ(Button("cmdDelRes")->text(), QStringLiteral("&Delete"));
  EXPECT_EQ(
      QAccessible::queryAccessibleInterface(Button("cmdDelRes"))->text(QAccessible::Accelerator),
      QKeySequence(Qt::ALT | Qt::Key_D).toString(QKeySequence::NativeText));
  EXPECT_EQ(Button("cmdOpenPath")->text(), QStringLiteral("..."));
  SetBoxes("X:", QString::fromStdString(MakeFolder("daten").string()));
  QTest::keyClick(window_.get(), Qt::Key_M, Qt::AltModifier);
  EXPECT_EQ(WaitForSubstCalls(1).size(), 1u);
}

TEST_F(MainWindowTest, FirstRun_DriveBoxKeepsItsTextOverTheLetters) {
  Start();
  QComboBox* drive = Box("cboDrive");
  ASSERT_EQ(drive->count(), 26);
  EXPECT_EQ(drive->itemText(0), QStringLiteral("A:"));
  EXPECT_EQ(drive->itemText(25), QStringLiteral("Z:"));
  // Filling the list must not put "A:" into the box.
  EXPECT_EQ(drive->currentText(), QStringLiteral(":"));
  EXPECT_EQ(Box("cboLocRes")->currentText(), QString());
}

TEST_F(MainWindowTest, TypedText_StaysAsTypedAndNeverEntersTheList) {
  Start();
  QComboBox* drive = Box("cboDrive");
  EXPECT_EQ(drive->completer(), nullptr);
  EXPECT_EQ(drive->insertPolicy(), QComboBox::NoInsert);
  drive->setFocus();
  drive->lineEdit()->clear();
  QTest::keyClicks(drive, "q");
  QTest::keyClick(drive, Qt::Key_Return);
  EXPECT_EQ(drive->currentText(), QStringLiteral("q"));
  EXPECT_EQ(drive->count(), 26);
  QComboBox* folder = Box("cboLocRes");
  const int entries = folder->count();
  folder->setFocus();
  QTest::keyClicks(folder, "/tmp/neu");
  QTest::keyClick(folder, Qt::Key_Return);
  EXPECT_EQ(folder->count(), entries);
}

TEST_F(MainWindowTest, EnterAndEscapeInABox_PressNoButton) {
  Start();
  SetBoxes("X:", QString::fromStdString(MakeFolder("daten").string()));
  for (const char* name : {"cboDrive", "cboLocRes"}) {
    Box(name)->setFocus();
    QTest::keyClick(Box(name), Qt::Key_Return);
    QTest::keyClick(Box(name), Qt::Key_Enter);
    QTest::keyClick(Box(name), Qt::Key_Escape);
  }
  ProcessPostedEvents();
  EXPECT_TRUE(SubstCallsBeforeMarker().empty());
  EXPECT_TRUE(window_->isVisible());
  EXPECT_FALSE(std::filesystem::exists(SettingsPath()));
}

TEST_F(MainWindowTest, Tab_CyclesInLayoutOrder) {
  Start();
  const std::vector<const char*> cycle{"cboDrive",    "cmdSubst",  "cmdDelRes",
                                       "cmdOpenPath", "cboLocRes", "cmdOpenDrive"};
  auto focused = [&]() -> std::string {
    QWidget* focus = QApplication::focusWidget();
    // An editable combo box's line edit holds the focus for its box.
    while (focus != nullptr && focus->objectName().isEmpty()) focus = focus->parentWidget();
    return focus == nullptr ? std::string() : focus->objectName().toStdString();
  };
  EXPECT_EQ(focused(), "cboDrive");
  for (std::size_t i = 1; i <= cycle.size(); ++i) {
    // To the box itself, not to its line edit.
    QTest::keyClick(window_->findChild<QWidget*>(QString::fromStdString(focused())), Qt::Key_Tab);
    EXPECT_EQ(focused(), cycle[i % cycle.size()]) << "after " << cycle[i - 1];
  }
}

TEST_F(MainWindowTest, RightClickOnBackground_OpensFileMenu) {
  Start();
  RightClick(window_.get(), Background());
  ASSERT_TRUE(WaitFor([&] { return window_->FileMenu()->isVisible(); }));
  EXPECT_EQ(window_->FileMenu()->parentWidget(), window_.get());
  EXPECT_THAT(Describe(*window_->FileMenu()),
              ElementsAre("&Local Mappings >", "  &Map", "  &Delete", "&Reset nach Neustart [ ]",
                          "-", "Im &Systray verstecken", "-", "Ü&ber...", "-", "Tessaro b&eenden"));
  window_->FileMenu()->hide();
}

TEST_F(MainWindowTest, Accessibility_WindowRoleControlNamesAndNoPicture1) {
  Start();
  QAccessibleInterface* window = QAccessible::queryAccessibleInterface(window_.get());
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->role(), QAccessible::Window);
  EXPECT_EQ(window->text(QAccessible::Name), QStringLiteral("Tessaro"));
  std::map<std::string, QAccessibleInterface*> children;
  for (int i = 0; i < window->childCount(); ++i) {
    QAccessibleInterface* child = window->child(i);
    children[child->object()->objectName().toStdString()] = child;
  }
  EXPECT_EQ(children.count("Picture1"), 0u);
  EXPECT_EQ(children.at("cmdOpenDrive")->text(QAccessible::Name),
            QStringLiteral("Laufwerk und Ordner wählen"));
  EXPECT_EQ(children.at("cmdOpenPath")->text(QAccessible::Name), QStringLiteral("Ordner wählen"));
  EXPECT_EQ(children.at("cmdSubst")->text(QAccessible::Name), QStringLiteral("Map"));
  // The boxes are labelled by their captions, and their line edits say so too.
  const std::pair<const char*, QString> boxes[] = {
      {"cboDrive", QStringLiteral("Laufwerk auswählen")},
      {"cboLocRes", QStringLiteral("Lokale Ressource hinzufügen...")}};
  for (const auto& [name, label] : boxes) {
    const auto relations = children.at(name)->relations(QAccessible::Label);
    ASSERT_EQ(relations.size(), 1) << name;
    EXPECT_EQ(relations[0].first->text(QAccessible::Name), label);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(Box(name)->lineEdit())->text(QAccessible::Name),
              label);
  }
}

TEST_F(MainWindowTest, MenuKeyShiftF10AndKeyboardRequest_OpenFileMenuAtFocus_EscapeDoesNothing) {
  Start();
  SetBoxes("X:", QString::fromStdString(MakeFolder("daten").string()));
  QMenu* menu = window_->FileMenu();
  const auto expectMenuAt = [&](QWidget* control, const char* road) {
    ASSERT_TRUE(WaitFor([&] { return menu->isVisible(); })) << road;
    EXPECT_EQ(menu->pos(), control->mapToGlobal(control->rect().center())) << road;
    QTest::keyClick(menu, Qt::Key_Escape);
    ASSERT_TRUE(WaitFor([&] { return !menu->isVisible(); })) << road;
  };
  QWidget* drive = Box("cboDrive");
  Box("cboDrive")->lineEdit()->setFocus();
  QTest::keyClick(Box("cboDrive")->lineEdit(), Qt::Key_Menu);
  expectMenuAt(drive, "context-menu key in a box");

  Button("cmdSubst")->setFocus();
  QTest::keyClick(Button("cmdSubst"), Qt::Key_F10, Qt::ShiftModifier);
  expectMenuAt(Button("cmdSubst"), "Shift+F10 on a button");

  // The context request the window system makes of the context-menu key.
  Box("cboLocRes")->lineEdit()->setFocus();
  QContextMenuEvent request(QContextMenuEvent::Keyboard, {2, 2},
                            Box("cboLocRes")->lineEdit()->mapToGlobal(QPoint(2, 2)));
  QApplication::sendEvent(Box("cboLocRes")->lineEdit(), &request);
  expectMenuAt(Box("cboLocRes"), "keyboard context request");

  QTest::keyClick(Button("cmdSubst"), Qt::Key_F10);  // F10 alone is no menu key
  ProcessPostedEvents();
  EXPECT_FALSE(menu->isVisible());
  EXPECT_TRUE(SubstCallsBeforeMarker().empty());
  EXPECT_FALSE(window_->Action(CommandId::mnuRemoveItem)->isChecked());
  EXPECT_FALSE(std::filesystem::exists(SettingsPath()));
}

TEST_F(MainWindowTest, EnterOnAFocusedButton_PressesIt) {
  Start();
  SetBoxes("X:", QString::fromStdString(MakeFolder("daten").string()));
  Button("cmdSubst")->setFocus();
  QTest::keyClick(Button("cmdSubst"), Qt::Key_Return);
  EXPECT_EQ(WaitForSubstCalls(1).size(), 1u);
  Button("cmdDelRes")->setFocus();
  QTest::keyClick(Button("cmdDelRes"), Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_EQ(WaitForSubstCalls(2).size(), 2u);
  for (const char* name : {"cmdOpenPath", "cmdOpenDrive"}) {
    ModalAnswerer answer([](QWidget& modal) { modal.close(); });
    Button(name)->setFocus();
    QTest::keyClick(Button(name), Qt::Key_Return);
    EXPECT_TRUE(answer.Answered()) << name;
  }
}

TEST_F(MainWindowTest, RightClickOnAControl_OpensNothing) {
  Start();
  for (const char* name : {"lblDrive", "Label1", "Image1", "cboDrive", "cboLocRes", "cmdSubst",
                           "cmdDelRes", "cmdOpenPath", "cmdOpenDrive"}) {
    RightClickOn(name);
    ProcessPostedEvents();
    EXPECT_FALSE(window_->FileMenu()->isVisible()) << name;
  }
}

TEST_F(MainWindowTest, LeftAndMiddleClickOnBackground_OpenNothing) {
  Start();
  QTest::mouseClick(window_.get(), Qt::LeftButton, {}, Background());
  QTest::mouseClick(window_.get(), Qt::MiddleButton, {}, Background());
  ProcessPostedEvents();
  EXPECT_FALSE(window_->FileMenu()->isVisible());
}

TEST_F(MainWindowTest, TrayMenu_Items) {
  EXPECT_THAT(Describe(*window_->TrayMenu()),
              ElementsAre("&Local Mappings >", "  &Map", "  &Delete", "-", "&Anzeigen", "-",
                          "Ü&ber...", "-", "Tessaro b&eenden"));
}

TEST_F(MainWindowTest, MapButton_LaunchesSubstRecordsAndSaves) {
  Start();
  const auto folder = MakeFolder("Meine Daten für Jürgen");
  SetBoxes("X:", QString::fromStdString(folder.string()));
  QTest::mouseClick(Button("cmdSubst"), Qt::LeftButton);
  EXPECT_THAT(WaitForSubstCalls(1), ElementsAre("X:|" + folder.string()));
  const std::string settings = Settings();
  EXPECT_NE(settings.find("target drive=X:"), std::string::npos) << settings;
  EXPECT_NE(settings.find("target path=" + folder.string()), std::string::npos) << settings;
  // A first run's next slot is the second one.
  EXPECT_NE(settings.find("last path 2=" + folder.string()), std::string::npos) << settings;
  EXPECT_GE(Box("cboLocRes")->findText(QString::fromStdString(folder.string())), 0);
}

TEST_F(MainWindowTest, MapAndDeleteFromSubmenu_LikeTheButtons) {
  Start();
  const auto folder = MakeFolder("daten");
  SetBoxes("Y:", QString::fromStdString(folder.string()));
  RightClick(window_.get(), Background());
  window_->Action(CommandId::mnuDrivesMap)->trigger();
  EXPECT_THAT(WaitForSubstCalls(1), ElementsAre("Y:|" + folder.string()));
  const std::string afterMap = Settings();
  EXPECT_NE(afterMap.find("target drive=Y:"), std::string::npos);

  window_->Action(CommandId::mnuDrivesDel)->trigger();
  EXPECT_THAT(WaitForSubstCalls(2), ElementsAre("Y:|" + folder.string(), "Y:|/d"));
  EXPECT_EQ(Box("cboDrive")->currentText(), QString());
  EXPECT_EQ(Box("cboLocRes")->currentText(), QString());
  EXPECT_EQ(Settings(), afterMap);  // delete saves nothing
}

// subst's refusal comes back while the window goes on: one warning in German.
TEST_F(MainWindowTest, RefusedMap_WarnsInGermanWithSubstsWords_ASuccessSaysNothing) {
  Start();
  const auto folder = MakeFolder("daten");
  SetBoxes("Y:", QString::fromStdString(folder.string()));
  QTest::mouseClick(Button("cmdDelRes"), Qt::LeftButton);
  ASSERT_EQ(WaitForSubstCalls(1).size(), 1u);

  ::setenv("TESSARO_SUBST_FAIL", "Drive already SUBSTed", 1);
  SetBoxes("X:", QString::fromStdString(folder.string()));
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  std::chrono::system_clock::time_point shown;
  ModalAnswerer answer([&](QWidget& modal) {
    auto* box = qobject_cast<QMessageBox*>(&modal);
    if (box == nullptr) return;
    shown = std::chrono::system_clock::now();
    text = box->text();
    icon = box->icon();
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Tessaro"));
    box->button(QMessageBox::Ok)->click();
  });
  QTest::mouseClick(Button("cmdSubst"), Qt::LeftButton);
  ASSERT_TRUE(WaitFor([&] { return answer.Answered(); }));
  EXPECT_EQ(text.toStdString(), "Laufwerk X: konnte nicht mit \"" + folder.string() +
                                    "\" verbunden werden.\n\nsubst meldet: Drive already SUBSTed");
  EXPECT_EQ(icon, QMessageBox::Warning);
  // The stand-in's last write is its end; the box is seen at the next 20 ms look.
  const auto ended = std::chrono::file_clock::to_sys(std::filesystem::last_write_time(substLog_));
  const auto lag = std::chrono::duration_cast<std::chrono::milliseconds>(shown - ended);
  std::printf("warning shown %lld ms after subst ended\n", static_cast<long long>(lag.count()));
  // The aim is 100 ms; the bound only catches a wait or a polling timer, as
  // a busy machine stretches the figure.
  EXPECT_LT(lag.count(), 500);
  // The Map still counts as the user's choice.
  EXPECT_NE(Settings().find("target drive=X:"), std::string::npos);
}

TEST_F(MainWindowTest, DeleteButton_LaunchesSubstAndEmptiesBoxes) {
  Start();
  SetBoxes("Z:", "/irgendwo");
  QTest::mouseClick(Button("cmdDelRes"), Qt::LeftButton);
  EXPECT_THAT(WaitForSubstCalls(1), ElementsAre("Z:|/d"));
  EXPECT_EQ(Box("cboDrive")->currentText(), QString());
  EXPECT_FALSE(std::filesystem::exists(SettingsPath()));
}

TEST_F(MainWindowTest, ResetToggle_TwiceReturnsAndSavesNothing) {
  Start();
  QAction* reset = window_->Action(CommandId::mnuRemoveItem);
  EXPECT_FALSE(reset->isChecked());
  reset->trigger();
  EXPECT_TRUE(reset->isChecked());
  EXPECT_EQ(state_.blnResetRestart, kTrue);
  reset->trigger();
  EXPECT_FALSE(reset->isChecked());
  EXPECT_EQ(state_.blnResetRestart, kFalse);
  EXPECT_FALSE(std::filesystem::exists(SettingsPath()));
}

TEST_F(MainWindowTest, CloseBox_RunsUnloadAndSaves) {
  Start();
  SetBoxes("K:", "/nie/gemappt");
  window_->Action(CommandId::mnuRemoveItem)->trigger();
  window_->close();
  EXPECT_EQ(unloads_, 1);
  EXPECT_EQ(tray_.removes, 1);
  const std::string settings = Settings();
  // The reset was applied: the choice is forgotten, the flag kept.
  EXPECT_NE(settings.find("reset restart=1"), std::string::npos) << settings;
  EXPECT_EQ(settings.find("/nie/gemappt"), std::string::npos) << settings;
}

// A folder where the settings file should be: the close box says so, with
// the file's path; at the session's end nothing may hold up the logout.
TEST_F(MainWindowTest, CloseBox_FailedSaveSaysSo_ButNotAtTheSessionsEnd) {
  std::filesystem::create_directories(SettingsPath());
  Start();
  QString text;
  ModalAnswerer answer([&text](QWidget& modal) {
    auto* box = qobject_cast<QMessageBox*>(&modal);
    if (box == nullptr) return;
    text = box->text();
    box->button(QMessageBox::Ok)->click();
  });
  window_->close();
  EXPECT_TRUE(answer.Answered());
  EXPECT_TRUE(
      text.startsWith(QStringLiteral("Die Einstellungen konnten nicht gespeichert werden: ")))
      << text.toStdString();
  EXPECT_TRUE(
      text.endsWith(QStringLiteral("\n\n") + QString::fromStdString(SettingsPath().string())));
  EXPECT_EQ(unloads_, 1);

  Build(tray_);
  Start();
  window_->SetSessionEnding();
  ModalAnswerer none([](QWidget& modal) { modal.close(); });
  window_->close();  // the unload runs within the close: nothing left to wait for
  EXPECT_FALSE(none.Answered());
  EXPECT_EQ(unloads_, 2);
}

TEST_F(MainWindowTest, EndItem_EndsAtOnceWithoutSaving) {
  Start();
  window_->Action(CommandId::mnuRemoveItem)->trigger();
  window_->Action(CommandId::mnuEnd)->trigger();
  EXPECT_EQ(exit_.ended, 1);
  EXPECT_EQ(unloads_, 0);
  EXPECT_FALSE(std::filesystem::exists(SettingsPath()));
}

TEST_F(MainWindowTest, About_ShowsYearVersionAndCredits) {
  Start();
  QString spoken;
  const QString text = AboutThrough(window_->Action(CommandId::mnuAbout), &spoken);
  EXPECT_TRUE(text.startsWith(QStringLiteral("Copyright © 2031"))) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("\rVersion 1.2.2\r"))) << text.toStdString();
  EXPECT_FALSE(text.contains('\n'));
  // The same lines for a screen reader, with line breaks it understands.
  EXPECT_EQ(spoken, QString(text).replace('\r', '\n'));
}

TEST_F(MainWindowTest, SystrayItem_HidesAndAddsIconWithTip) {
  Start();
  window_->Action(CommandId::mnuSystray)->trigger();
  EXPECT_FALSE(window_->isVisible());
  EXPECT_FALSE(QApplication::quitOnLastWindowClosed());
  ASSERT_EQ(tray_.tips.size(), 1U);
  EXPECT_EQ(tray_.tips.back(), L"Tessaro - Rechte Maustaste für Menü");
}

TEST_F(MainWindowTest, StartedAgain_BringsTheWindowOutOfTheTrayAndOutOfTheTaskBar) {
  Start();
  window_->Action(CommandId::mnuSystray)->trigger();
  window_->StartedAgain();
  EXPECT_TRUE(window_->isVisible());
  EXPECT_EQ(tray_.removes, 1);
  window_->showMinimized();
  ASSERT_TRUE(WaitFor([&] { return window_->isMinimized(); }));
  window_->StartedAgain();
  EXPECT_FALSE(window_->isMinimized());
  EXPECT_FALSE(std::filesystem::exists(SettingsPath()));
}

TEST_F(MainWindowTest, TrayLeftClick_ShowsWindowAndRemovesIcon) {
  Start();
  window_->Action(CommandId::mnuSystray)->trigger();
  EXPECT_FALSE(TrayEventFor(QSystemTrayIcon::DoubleClick).has_value());
  window_->TrayIcon_Event(TrayEventFor(QSystemTrayIcon::Trigger).value());
  EXPECT_TRUE(window_->isVisible());
  EXPECT_EQ(tray_.removes, 1);
}

TEST_F(MainWindowTest, TrayContextRequest_OpensTrayMenu) {
  Start();
  window_->Action(CommandId::mnuSystray)->trigger();
  window_->TrayIcon_Event(TrayEventFor(QSystemTrayIcon::Context).value());
  ASSERT_TRUE(WaitFor([&] { return window_->TrayMenu()->isVisible(); }));
  EXPECT_EQ(window_->TrayMenu()->parentWidget(), window_.get());
  window_->Action(CommandId::mnuBarShowWindow)->trigger();
  window_->TrayMenu()->hide();
  EXPECT_TRUE(window_->isVisible());
  EXPECT_EQ(tray_.removes, 1);
}

TEST_F(MainWindowTest, TrayAbout_WhileHidden_SameTextWindowStaysHidden) {
  Start();
  const QString fromWindow = AboutThrough(window_->Action(CommandId::mnuAbout));
  window_->Action(CommandId::mnuSystray)->trigger();
  EXPECT_EQ(AboutThrough(window_->Action(CommandId::mnuBarAbout)), fromWindow);
  EXPECT_FALSE(window_->isVisible());
  window_->Action(CommandId::mnuBarEnd)->trigger();
  EXPECT_EQ(exit_.ended, 1);
}

// Under a headless platform there is no notification area: the real tray
// refuses, and the window must come back rather than vanish.
TEST_F(MainWindowTest, NoNotificationArea_WindowComesBack) {
  TrayIconQt tray([this](TrayEvent event) { window_->TrayIcon_Event(event); });
  Build(tray);
  Start();
  ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable());
  window_->Action(CommandId::mnuSystray)->trigger();
  EXPECT_TRUE(window_->isVisible());
  ASSERT_NE(tray.Icon(), nullptr);
  EXPECT_FALSE(tray.Icon()->isVisible());
  // What a screen reader would announce as the icon's name.
  EXPECT_EQ(tray.Icon()->toolTip(), QStringLiteral("Tessaro - Rechte Maustaste für Menü"));
}

}  // namespace
}  // namespace tessaro::ui::qt::testing
