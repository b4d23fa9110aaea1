#pragma once

#include <QByteArray>
#include <QString>

#include <atomic>
#include <functional>

class QLabel;

// "Copyright © 2016-<this year> Lexorvia", with the year the program runs in.
QString CopyrightNotice();

// Where the maker is found: its web site and its support mail address.
inline constexpr char MakerHost[] = "www.lexorvia.example";
inline constexpr char SupportMailAddress[] = "support@lexorvia.example";

// The kinds of message box ShowMsg shows; any other value gives a box with no
// icon and an OK button.
enum MsgKind : int {
    MsgWarning = 0,     // warning icon, OK
    MsgError = 1,       // stop icon, OK
    MsgInformation = 2, // information icon, OK
    MsgQuestion = 3,    // question icon, OK and Cancel
};

// What ShowMsg returns: the button the user pressed.
enum MsgAnswer : int {
    MsgOk = 1,
    MsgCancel = 2, // also: Esc or the close button on a box with Cancel, and a wait that was given up
};

// Shows the text in a message box captioned "Lexorvia" and returns the button
// pressed. On the GUI thread the box is modal. From any other thread (a worker
// reporting a failure) the GUI thread shows the box without modality, so the
// windows stay usable, and the calling thread waits for the user to close it;
// when `cancel` becomes true the box is closed and the wait ends with
// MsgCancel, as it does when the application is shutting down.
int ShowMsg(const QString &text, int kind, const std::atomic<bool> *cancel = nullptr);

// The message boxes of ShowMsg. Tests put a recorder in their place.
namespace MessageBoxes {

// Called on the GUI thread in place of a box (also for ShowMsg calls made on
// other threads); its result is ShowMsg's result.
using Sink = std::function<int(const QString &text, int kind)>;

// Replaces the sink; an empty function restores the message boxes. Returns
// the sink that was in force. Call it on the GUI thread.
Sink setSink(Sink sink);

} // namespace MessageBoxes

// Shows the animated picture of the resource module MorvaneSys.DLL beside the
// program (resource type GIF, the name upper-cased) in the label, centred, and
// starts it; a picture shown before is replaced. Throws AppError "Resource
// <NAME> not found" when the module or the resource is missing and the
// decoder's message when the bytes are no GIF; the label is then untouched.
void LoadResGif(QLabel *image, const QString &name);

// Where LoadResGif finds the resource module: MorvaneSys.DLL beside the
// program, unless a test has named another path (an empty path: beside the
// program again).
QString ResourceModulePath();
void SetResourceModulePath(const QString &path);

// LoadResGif with the module at this path.
void LoadResGifFrom(const QString &modulePath, QLabel *image, const QString &name);

// LoadResGif's second half: shows these GIF bytes in the label.
void ShowGifData(QLabel *image, const QByteArray &gif);

// Stops and removes the picture; the label stays visible and shows nothing.
void ClearImage(QLabel *image);
