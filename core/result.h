#pragma once
// The one shape of a fault across the libraries: a function that can fail returns a Result, its
// value or an Error that says what went wrong (and, for a data file, which file and line).

#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace hmf::core {

enum class ErrorCode {
    BadInput,    // what the user typed or chose is refused
    MissingFile, // a file does not exist
    Unreadable,  // a file that is no regular file, or cannot be read
    TooLarge,    // a file larger than its limit, refused unread
    BadData,     // a file's text is damaged: not GBK, a row or the table at fault
};

struct Error
{
    ErrorCode code = ErrorCode::BadData;
    // Chinese first, the English in brackets ("表为空 (empty table)"); the texts a user sees in
    // the window are Chinese only ("请填写姓氏").
    std::string what;
    std::string file; // the data file at fault; empty for a fault of the input
    int line = 0;     // 1-based; 0 when the fault concerns the file as a whole

    // "file:line: what", "file: what", or what alone for a fault without a file.
    std::string message() const;
    bool isDataFault() const { return code != ErrorCode::BadInput; }
};

// A user's input refused with `what`.
inline Error inputError(std::string what)
{
    return Error{ErrorCode::BadInput, std::move(what), {}, 0};
}

// `E` is Error but where a refusal must say more than a message (which input field it concerns).
template <typename T, typename E = Error> class [[nodiscard]] Result
{
  public:
    Result(T value) : m_value(std::in_place_index<0>, std::move(value)) {}
    Result(E error) : m_value(std::in_place_index<1>, std::move(error)) {}

    bool ok() const { return m_value.index() == 0; }
    explicit operator bool() const { return ok(); }

    T& value() { return std::get<0>(m_value); }
    const T& value() const { return std::get<0>(m_value); }
    T& operator*() { return value(); }
    const T& operator*() const { return value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }

    const E& error() const { return std::get<1>(m_value); }
    E& error() { return std::get<1>(m_value); }

  private:
    std::variant<T, E> m_value;
};

// Success with nothing to hand back, or the error.
template <typename E> class [[nodiscard]] Result<void, E>
{
  public:
    Result() = default;
    Result(E error) : m_error(std::move(error)) {}

    bool ok() const { return !m_error; }
    explicit operator bool() const { return ok(); }
    const E& error() const { return *m_error; }
    E& error() { return *m_error; }

  private:
    std::optional<E> m_error;
};

using Status = Result<void>;

} // namespace hmf::core
