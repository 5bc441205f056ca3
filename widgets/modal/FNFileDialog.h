#pragma once

#include "framework/core/FNGUICoreObject.h"
#include "imaging/FNString.h"

class FNFileDialogWindow;

// FNFileDialog: asks the user for a file to open or a name to save under, in
// a framework-drawn modal window (FNFileDialogWindow) over the current
// engine's main stage. The application builds the file types first:
//
//   AddFilter("PNG", "png")   appends "PNG(*.png);*.png;" to `filter`;
//                             refused (false, nothing appended) when the
//                             text would pass kFilterLimit bytes
//   filterIndex               the type selected when the dialog opens,
//                             counting from 1; after a choice, the type the
//                             user had selected
//   Open() / Save()           true with Path() and Extension() set to the
//                             chosen file; false, with Path() empty, when
//                             the user cancels
//
// The dialog opens in the folder the last dialog of this run ended in, the
// first one in the working folder. It never changes the process's working
// folder. Paths are kept whole, whatever their length.
class FNFileDialog : public FNGUICoreObject {
public:
    static constexpr int kFilterLimit = 2046;

    FNFileDialog();

    bool AddFilter(const FNString& description, const FNString& extensionText);
    bool Open();
    bool Save();
    FNString Path() const { return path; }
    FNString Extension() const { return extension; }

    // Called once per engine step while the dialog, or a message or question
    // it shows, is up (nothing here; a script or a test acts in it).
    virtual void OnDialogFrame(FNFileDialogWindow& /*window*/) { }

    // The next dialog opens in the working folder again.
    static void ForgetLastFolder();

    FNString path; // the chosen file
    FNString extension; // the chosen file's extension, without the dot
    FNString filter; // description(*.ext);*.ext; pairs
    int filterLength = 0;
    int filterIndex = 1;

private:
    bool Run(bool saving);
};
