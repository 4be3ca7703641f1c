#pragma once
// No exception may reach the host: entry points, handlers, observer methods, palette and timer
// callbacks run their work through these. What escapes goes to the debug output as
// "Unhandled exception in <where>: <what>".
//
// How each layer reports a failure; a change speaks its own layer's way:
// - Host boundary: the guards below. A command the user chose also shows the error alert; an entry
//   point that answers the host gives a stand-in result (APIERR_GENERAL, 0).
// - Host calls (HostApi): the host's error codes, NoError when it worked, APIERR_MISSINGENTRY when
//   the table has no entry. The few wrappers that answer bool say false for any failure.
// - Database: statements and lookups throw (SQLite::Exception; std::runtime_error, such as "Entity
//   not found"). The tables' save, remove, their hooks and sort-order updates answer bool; a refused
//   or failed hook, a failed insert and failed sort orders also give a debug line. The SQL import
//   answers false with a debug line and changes nothing; damaged stored data gives a debug line and
//   an empty estimate.
// - Evaluator (Formula): a Math_Error code with its text in the context's message, never an
//   exception; a quantity keeps that text as its error text.
// - Element functions: 0.0 for a value the host cannot give and a function the type does not have.
// - Workbook reader (Exchange): throws Xlsx::WorkbookError for a file it cannot read; the import
//   catches everything, answers false and leaves the estimate as it was, and its command alerts.
#include <exception>
#include <string>
#include <utility>

#include "DG/DGUtility.hpp"
#include "GSRoot/Debug.hpp"

// Runs the body (its result, if any, is dropped). True when it ran to its end; otherwise what it
// threw went to the debug output and its text to *failure when one is asked for.
template <typename F>
bool Guarded(const char* where, F&& body, std::string* failure = nullptr)
{
    std::string what;
    try {
        body();
        return true;
    } catch (const std::exception& e) {
        what = e.what();
    } catch (...) {
        what = "unknown exception";
    }
    DBPrintf("Unhandled exception in %s: %s\n", where, what.c_str());
    if (failure != nullptr)
        *failure = std::move(what);
    return false;
}

// The same for a body whose result the host gets; onException stands in for it after a failure.
template <typename R, typename F>
R GuardedResult(const char* where, R onException, F&& body)
{
    R result = onException;
    Guarded(where, [&] { result = body(); });
    return result;
}

// Tells the user why an action they chose failed; an alert that cannot be shown goes to the debug
// output instead.
inline void FailureAlert(const char* where, const GS::UniString& text, const std::string& reason)
{
    Guarded((std::string("the error alert of ") + where).c_str(),
            [&] { DGAlert(DG::DG_ERROR, "Error", text, GS::UniString(reason), "OK"); });
}

// A command the user chose: a failure also shows the error alert.
template <typename F>
void GuardedCommand(const char* name, F&& body)
{
    std::string failure;
    if (!Guarded(name, body, &failure))
        FailureAlert(name, "The command could not be completed.", failure);
}
