#pragma once
// The texts Setup and Remove show: questions, messages, status lines.
namespace orvalen::setup {

inline constexpr char kMainWindowTitle[] = "Setup Orvalen";
inline constexpr char kSetupCaption[] = "Orvalen Setup";
inline constexpr char kMessageCaption[] = "Orvalen";
inline constexpr char kExitQuestion[] = "Setup is not complete\nAre you sure you want to exit?";
inline constexpr char kExitApplicationQuestion[] =
    "Setup is not complete\nAre you sure you want to exit application?";
inline constexpr char kDoneLabel[] = "Done";

inline constexpr char kCreateQuestion[] =
    "This directory does not exists.\n\nDo you want to create it?";
inline constexpr char kCreateQuestionCaption[] = "Quillmark Organizer - Setup";
// printf format: the refused path.
inline constexpr char kNoDriveLetterFormat[] =
    "Can not create this directory:\n%s\nDirectory name should start with\nC:\\ \nD:\\ \netc.";
inline constexpr char kCreateError[] = "Error creating new directory!";
// printf format: the installation directory.
inline constexpr char kCouldNotCreateFormat[] =
    "Could not create this directory:\n\t%s\nPlease run Setup again\n and choose another "
    "drive\\directory";
inline constexpr char kCouldNotCreateCaption[] = "Setup Error";

inline constexpr char kStatusPleaseWait[] = "Please wait,";
inline constexpr char kStatusCopying[] = "Copy in progress ...\n\n \n";
inline constexpr char kStatusInstalling[] = "Installing Orvalen...";
inline constexpr char kStatusRegistering[] = "Registering uninstall information...";

// printf format: the files, one a line.
inline constexpr char kFilesInUseFormat[] =
    "These files are in use and could not be replaced:\n\n%s\n"
    "Setup has arranged for them to be replaced when Windows restarts.";
// printf format: the files, one a line.
inline constexpr char kFilesNotReplacedFormat[] =
    "These files are in use and could not be replaced:\n\n%s\n"
    "Close the programs that use them and run Setup again.";
inline constexpr char kFinishedAtRestart[] =
    "Restart Windows to complete the installation.\nYou can add images to Orvalen now or later.";
inline constexpr char kNotComplete[] =
    "Installation is not complete.\nClose the programs that use Orvalen and run Setup again.";

inline constexpr char kRemoveQuestion[] = "UnInstall Orvalen?";
inline constexpr char kRemoveCaption[] = "UnInstall";
inline constexpr char kRemoveProgressTitle[] = "Removing Desktop Icon";

}  // namespace orvalen::setup
