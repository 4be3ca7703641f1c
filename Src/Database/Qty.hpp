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
// Evaluating it against its linked element belongs to ElementFuncs/QtyEvaluation.hpp.
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

    QtyLinkStatus getLinkStatus() const { return linkStatus; }

    char errorText[ErrorTextSize];
    QtyLinkStatus linkStatus;
};
