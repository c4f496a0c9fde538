#include "platform/ui/app.h"

#include <QApplication>
#include <QCursor>
#include <QEventLoop>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <QTranslator>

#include <memory>

#include "platform/ui/test_driver.h"
#include "platform/ui/widgets.h"

namespace platform::ui {

namespace {
// Made and ended explicitly: a QApplication must not outlive main() into static destruction.
QApplication* g_app = nullptr;

void SetUpFonts() {
  // Every measurement and line break depends on these faces, so they are pinned. The Song
  // face's Latin letters come from a monospaced face of the same half-em advance, in which
  // "l" and "1" differ (in the Ming face they look alike: "Excel" read "Exce1"); Chinese
  // from the Ming face; characters outside both (four-byte GB18030 ones) from the wide Han
  // face last, so they never show as empty boxes.
  const QString song = detail::ToQ(detail::DefaultFaceName());
  const QStringList songFaces = {QStringLiteral("Inconsolata"), QStringLiteral("AR PL UMing CN"),
                                 QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("BabelStone Han")};
  QFont::insertSubstitutions(song, songFaces);
  QFont::insertSubstitutions(QStringLiteral("SimSun"), songFaces);
  QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
  QFont standard(song);
  standard.setPointSize(9);
  QApplication::setFont(standard);
}

// The program speaks Chinese, so Qt's own texts (file dialogs, the edit boxes' context
// menus) do too; without the system's translation files they stay in English.
void SetUpChineseTexts() {
  const QLocale chinese(QLocale::Chinese, QLocale::China);
  QLocale::setDefault(chinese);
  auto* translator = new QTranslator(g_app);
  if (translator->load(chinese, QStringLiteral("qt"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(translator);
  else
    delete translator;
}
}  // namespace

void StartApplication(int& argc, char** argv) {
  if (QCoreApplication::instance() == nullptr) {
    // Texts are measured at 96 DPI whatever the desktop says, without scaling.
    if (qEnvironmentVariableIsEmpty("QT_FONT_DPI")) qputenv("QT_FONT_DPI", "96");
    if (qEnvironmentVariableIsEmpty("QT_ENABLE_HIGHDPI_SCALING")) qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    // Sound files are decoded by the media framework's FFmpeg backend (MP3, WAV, WMA).
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND")) qputenv("QT_MEDIA_BACKEND", "ffmpeg");
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
    g_app = new QApplication(argc, argv);
    SetUpChineseTexts();
    // The program ends through its own end only: closing the last window on the screen (the
    // pop-up while the main window waits in the tray) must not end it.
    QGuiApplication::setQuitOnLastWindowClosed(false);
  }
  SetUpFonts();
}

void StopApplication() {
  delete g_app;
  g_app = nullptr;
}

bool ApplicationStarted() { return QCoreApplication::instance() != nullptr; }

int RunEventLoop() { return QCoreApplication::exec(); }
void QuitEventLoop(int code) { QCoreApplication::exit(code); }

void ProcessEvents(int milliseconds) {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  if (milliseconds <= 0) return;
  QEventLoop loop;
  QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
  loop.exec();
}

void ProcessEventsExceptInput() { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

namespace {
QScreen* Screen() { return QGuiApplication::primaryScreen(); }
}  // namespace

int ScreenWidth() { return Screen() ? Screen()->geometry().width() : 0; }
int ScreenHeight() { return Screen() ? Screen()->geometry().height() : 0; }
int TaskbarHeight() {
  if (!Screen()) return 0;
  return Screen()->geometry().height() - Screen()->availableGeometry().height();
}
int PointerX() { return QCursor::pos().x(); }
int PointerY() { return QCursor::pos().y(); }
int ScreenDpi() { return Screen() ? static_cast<int>(Screen()->logicalDotsPerInchY()) : 0; }

std::string ResolvedFontFamily(const Font& font) { return detail::FromQ(QFontInfo(detail::ToQFont(font)).family()); }
int FontLineHeight(const Font& font) { return QFontMetrics(detail::ToQFont(font)).height(); }

void ShowSystemMessage(std::string_view text, std::string_view title) {
  if (auto* script = testing::Script::Current()) {
    script->NoteMessage(std::string(text));
    return;
  }
  QMessageBox box(QMessageBox::Information, detail::ToQ(title), detail::ToQLines(text), QMessageBox::Ok);
  // Above the program's top-most windows, as its own boxes are (see Window::KeepAboveTopmostWindows).
  box.setWindowFlag(Qt::WindowStaysOnTopHint);
  box.exec();
}

}  // namespace platform::ui
