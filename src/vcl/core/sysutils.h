#pragma once
// Exceptions, formatting, conversions and file-name helpers of the framework layer.
#include <QString>
#include <cstdint>
#include <exception>
#include <initializer_list>
#include <variant>

namespace vcl {

// Base of every exception the framework and the units raise; carries a message.
class Exception : public std::exception {
public:
    explicit Exception(QString message);
    const QString& Message() const { return FMessage; }
    void SetMessage(const QString& message);
    const char* what() const noexcept override { return FUtf8.c_str(); }

private:
    QString FMessage;
    std::string FUtf8;
};

class EConvertError : public Exception { public: using Exception::Exception; };
class EComponentError : public Exception { public: using Exception::Exception; };
class EInvalidCast : public Exception { public: using Exception::Exception; };
class EInvalidOperation : public Exception { public: using Exception::Exception; };
class EResNotFound : public Exception { public: using Exception::Exception; };
class EStreamError : public Exception { public: using Exception::Exception; };
class EFOpenError : public EStreamError { public: using EStreamError::EStreamError; };
class EReadError : public EStreamError { public: using EStreamError::EStreamError; };
class EWriteError : public EStreamError { public: using EStreamError::EStreamError; };

// An operating-system failure with its error code (errno on Linux).
class EOSError : public Exception {
public:
    EOSError(QString message, int errorCode) : Exception(std::move(message)), ErrorCode(errorCode) {}
    int ErrorCode;
};

// One argument of Format: the original's "array of const" element.
class TVarRec {
public:
    TVarRec(int v) : FValue(static_cast<int64_t>(v)) {}
    TVarRec(unsigned v) : FValue(static_cast<int64_t>(v)) {}
    TVarRec(long v) : FValue(static_cast<int64_t>(v)) {}
    TVarRec(long long v) : FValue(static_cast<int64_t>(v)) {}
    TVarRec(unsigned long v) : FValue(static_cast<int64_t>(v)) {}
    TVarRec(unsigned long long v) : FValue(static_cast<int64_t>(v)) {}
    TVarRec(double v) : FValue(static_cast<long double>(v)) {}
    TVarRec(long double v) : FValue(v) {}
    TVarRec(const QString& v) : FValue(v) {}
    TVarRec(const char* v) : FValue(QString::fromUtf8(v)) {}
    TVarRec(const void* v) : FValue(v) {}

    bool IsInteger() const { return std::holds_alternative<int64_t>(FValue); }
    bool IsFloat() const { return std::holds_alternative<long double>(FValue); }
    bool IsString() const { return std::holds_alternative<QString>(FValue); }
    bool IsPointer() const { return std::holds_alternative<const void*>(FValue); }
    int64_t AsInteger() const { return std::get<int64_t>(FValue); }
    long double AsFloat() const { return std::get<long double>(FValue); }
    const QString& AsString() const { return std::get<QString>(FValue); }
    const void* AsPointer() const { return std::get<const void*>(FValue); }

private:
    std::variant<int64_t, long double, QString, const void*> FValue;
};

} // namespace vcl
