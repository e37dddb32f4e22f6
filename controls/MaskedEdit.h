// The masked edit box of the phone fields (and, without a mask, of the amount boxes).
// The mask uses Qt's input-mask characters; PhoneMask is the program's phone format.
//
// text() is what a bound field stores: the text with its literals ("(555) 123-4567"), or
// "" when no character has been typed (so an untouched box never stores "() -"). A
// stored text that does not fit the mask is kept and shown as it is, without the mask,
// until the user edits it, so that loading and writing back never changes it.
#pragma once

#include <QLineEdit>

namespace controls {

// "(555) 123-4567": every digit optional, so a partial number can be kept.
inline constexpr const char* PhoneMask = "(999) 999-9999;_";

class MaskedEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit MaskedEdit(QWidget* parent = nullptr);

    // An empty mask makes a plain text box.
    void setMask(const QString& mask);
    QString mask() const { return mask_; }

    // The stored form (see above), and setting it (a text that does not fit the mask is
    // shown as it is).
    QString text() const;
    void setText(const QString& text);
    // The characters typed, without literals ("5551234567").
    QString clipText() const;

private:
    void applyMask();
    bool fits(const QString& text) const;

    QString mask_;
};

}  // namespace controls
