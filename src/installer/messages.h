// Every text the installer shows, in one place and as UTF-8 (the original's resources were
// Shift-JIS). Texts that are glued to a path or a title say on which side in their name.
#pragma once

namespace kelvox::installer::text {

// Start-up.
inline constexpr const char* kBrokenConfig = "設定ファイルが壊れているか、または見つかりません。";
inline constexpr const char* kDefaultCaption = "エラー";  // Windows' caption for a box without one

// Destination page (100).
inline constexpr const char* kWizardCaptionAfterTitle = "のインストール";
inline constexpr const char* kPromptAfterTitle = "のインストール先を指定してください";
inline constexpr const char* kNoteLabel = "注意：";
inline constexpr const char* kNote = "古いバージョンが起動されている場合は終了させてから「次へ」を押してください。";
inline constexpr const char* kBrowseButton = "参照(&B)...";
inline constexpr const char* kRootFolder = "ルートディレクトリにはインストールできません。";
inline constexpr const char* kNeedFullPath = "「C:\\Soft」のように、ドライブ名も含めた正しいパス名を指定してください。";
inline constexpr const char* kLowSpaceBefore = "指定されたドライブの残り容量が ";
inline constexpr const char* kLowSpaceAfter = "メガバイトしかありません。かまわずにインストールしますか？";
inline constexpr const char* kFolderCreateFailedAfterPath = " のフォルダ作成に失敗しました。";
inline constexpr const char* kFileInTheWayAfterPath = " - 同じ名前のファイルが既に存在するのでフォルダが作成できません。";
// Ours: a folder whose name no launcher can hold (not UTF-8, or a control character in it).
inline constexpr const char* kNoLauncherAfterPath =
    " - このフォルダ名ではゲームを起動するショートカットが作れません。別の名前を指定してください。";

// Folder browser (105).
inline constexpr const char* kBrowseCaption = "参照";

// Options page (107).
inline constexpr const char* kStartMenuCheck = "スタートメニューに登録する";
inline constexpr const char* kDesktopCheck = "デスクトップにショートカットを作成する";

// Progress page (103).
inline constexpr const char* kCopying = "ファイルをコピーしています...";
inline constexpr const char* kInstalled = "インストールが完了しました。「完了」を押すと起動します。";
inline constexpr const char* kRemovalHint =
    "このソフトを削除するにはコントロールパネルの「アプリケーションの追加と削除」を使ってください。";
inline constexpr const char* kInUseAfterPath = " は他で使用中のため上書きできません。";
inline constexpr const char* kCopyFailedAfterPath = " のコピーに失敗しました。";
// Ours: a destination or shortcut target that would leave its folder is refused.
inline constexpr const char* kOutsideFolderAfterPath = " はインストール先のフォルダの外を指しているので、処理しません。";
// Ours: a source outside the distribution folder (or reached through a link that leaves it).
inline constexpr const char* kSourceOutsideAfterPath = " は配布フォルダの外にあるので、コピーしません。";
// Ours: a shortcut that cannot be written is a warning, never a failed installation.
inline constexpr const char* kShortcutFailedAfterPath = " のショートカットを作成できませんでした。";

// Program Manager and shortcuts.
inline constexpr const char* kUninstallItemAfterTitle = "の削除";
inline constexpr const char* kStartupGroup = "スタートアップ";

// Uninstall request.
inline constexpr const char* kConfirmAfterTitle = "を削除します。";
inline constexpr const char* kResidentWarning = "まだ常駐している場合は、今すぐ終了させてからOKボタンを押してください。";
inline constexpr const char* kUninstallerStartFailed =
    "アンインストール用プログラムの起動に失敗しました。手動で削除してください。";
// Ours: the uninstaller runs only for the installation its uninstall entry names.
inline constexpr const char* kNotInstalledAfterTitle = "はインストールされていません。";
inline constexpr const char* kNotTheInstallationAfterFolder = " は登録されているインストール先ではありません。削除には次のコマンドを使ってください: ";
// Ours: the registry store cannot be used; it is left as it is.
inline constexpr const char* kRegistryUnreadableAfterPath = " を読み込めません。このファイルは変更していません。";
inline constexpr const char* kRegistryDamagedLineBefore = " の ";
inline constexpr const char* kRegistryDamagedLineAfter = " 行目が読み込めません。このファイルは変更していません。直すか別の場所に移してから、やり直してください。";

// Uninstall dialog (101) and removal.
inline constexpr const char* kRemoving = "削除しています...";
inline constexpr const char* kCloseButton = "終了";
inline constexpr const char* kRemovedAfterTitle = "は正常に削除されました。";
inline constexpr const char* kFilesRemainAfterFolder = " にはまだファイルが残っています。後で削除してください。";
inline constexpr const char* kBadRegSection = "Regセクションがおかしいです。";
inline constexpr const char* kSkipAfterPath = "の削除に失敗しました。このファイルをスキップして処理を続行します。";
inline constexpr const char* kMainDeleteFailedAfterPath = " の削除に失敗しました。";
inline constexpr const char* kQuitAndRetryAfterTitle = "を終了して、もう一度アンインストールをやり直してください。";
inline constexpr const char* kAskDeleteAfterPath = " - このファイルを削除してもいいですか？";
inline constexpr const char* kFolderDeleteFailedAfterPath = " - ディレクトリの削除に失敗しました";

}  // namespace kelvox::installer::text
