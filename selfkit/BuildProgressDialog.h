#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

// The small modeless "Building" window: a bar from 0 to 10, a percentage label
// and a Cancel button that only raises a flag for the build to read.
class CBuildProgressDialog : public QDialog {
    Q_OBJECT
public:
    explicit CBuildProgressDialog(QWidget* parent = nullptr);

    // Moves the bar; the label is rewritten only when its text changes.
    void SetPosition(int position);
    int Position() const;
    QString PercentText() const;

    // Reads and clears the cancel flag.
    bool TakeCancel();

    QPushButton* CancelButton() const { return m_pCancel; }

protected:
    // Closing the window counts as Cancel; the build closes it itself.
    void reject() override;

private:
    QProgressBar* m_pBar;
    QLabel* m_pPercent;
    QPushButton* m_pCancel;
    bool m_bCancel = false;
};
