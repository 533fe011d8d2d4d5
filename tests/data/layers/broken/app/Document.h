#pragma once
#include <QString>
#include "app/Commands.h"

// A QString in a comment is no breach, nor the word "QWidget" in a text.
const char* const kCaption = "QWidget HWND";
class Document {
public:
    QString Title() const;
    void Attach(HWND window);
    bool Quit(); // QUIT in a name is no type: Quit
};
