#pragma once

#include <FL/Fl_Box.H>

#include <string>

// A box of text drawn as it is: the toolkit's labels read "@" as the start of
// a symbol and "&" as a shortcut mark, which paths and addresses may hold.
class CPlainText : public Fl_Box {
public:
    CPlainText(int x, int y, int w, int h, std::string text);

    const std::string& Text() const { return m_strText; }
    void SetText(std::string text);

    // The size text needs in the box's font, lines broken at blanks to fit width.
    static void Measure(const std::string& text, int width, int& w, int& h);

protected:
    void draw() override;

private:
    std::string m_strText;
};
