#pragma once
#include "Database/Entity.hpp"

// How a quantity stands towards its linked element; never stored.
enum QtyLinkStatus : GS::Int32 {
    LinkNotComputed = 0,
    LinkNotLinked = 1,
    LinkElementMissing = 2,
    LinkUpToDate = 3,
    LinkOutdated = 4
};

// A row of "qties", plus the outcome of its last formula evaluation, which lives in memory only.
class Qty : public Entity {
public:
    static constexpr GS::Int32 ErrorTextSize = 200;

    Qty();
    Qty(const Qty& other);
    Qty& operator=(const Qty& other);

    // Copies the message, cut to 199 bytes so the buffer stays terminated; nullptr empties it.
    void setErrorText(const char* message);

    // True when the linked element is a section element (type 29), which stands for the
    // element it was cut from: the table then stores the parent's guid instead.
    bool linkNeedsParentGuid() const;

    // The operations against the linked element; they need the element functions and the
    // evaluator, so they are defined with them (ElementFuncs/QtyEvaluation.cpp).

    // True when the formula evaluated (or is empty); the value is written only then. errorText is
    // set to the evaluator's message, or emptied. switchLocale: evaluate in the user's locale.
    // The process locale and the host's current database are restored before it returns.
    bool evaluateFormula(double* value, bool switchLocale);
    // The formula's value, 0.0 when the evaluation fails.
    double getFormulaValue(bool switchLocale);
    QtyLinkStatus computeLinkStatus();
    void updateLinkStatus();
    QtyLinkStatus getLinkStatus() const;
    // "descript" with #ID (the element's ID text) and #LOC (its story or database name) filled in.
    GS::UniString getDisplayDescription() const;

    char errorText[ErrorTextSize];
    QtyLinkStatus linkStatus;
};
