// The built-in expression functions other than the aggregates, and the registration of all
// built-in functions in the library.
#pragma once

#include "report/expressions/QREvElements.h"

class TQRFunctionLibrary;

// Vendor text of the built-in functions.
inline constexpr const wchar_t* QRBuiltInVendor = L"Report Engine";

// Registers the 21 built-in functions in their documented order.
void RegisterBuiltInFunctions(TQRFunctionLibrary& library);

#define QR_DECLARE_FUNCTION(Name)                                 \
    class Name : public TQREvElementFunction {                    \
    public:                                                       \
        String ClassName() const override { return L## #Name; }   \
        TQREvResultRecord ComputeResult() override;               \
    }

QR_DECLARE_FUNCTION(TQREvIfFunction);
QR_DECLARE_FUNCTION(TQREvStrFunction);
QR_DECLARE_FUNCTION(TQREvUpperFunction);
QR_DECLARE_FUNCTION(TQREvLowerFunction);
QR_DECLARE_FUNCTION(TQREvPrettyFunction);
QR_DECLARE_FUNCTION(TQREvTimeFunction);
QR_DECLARE_FUNCTION(TQREvDateFunction);
QR_DECLARE_FUNCTION(TQREvCopyFunction);
QR_DECLARE_FUNCTION(TQREvTrue);
QR_DECLARE_FUNCTION(TQREvFalse);
QR_DECLARE_FUNCTION(TQREvIntFunction);
QR_DECLARE_FUNCTION(TQREvFracFunction);
QR_DECLARE_FUNCTION(TQREvSQRTFunction);
QR_DECLARE_FUNCTION(TQREvDivFunction);
QR_DECLARE_FUNCTION(TQREvTypeOfFunction);
QR_DECLARE_FUNCTION(TQREvFormatNumericFunction);

#undef QR_DECLARE_FUNCTION
