// The built-in routines, chosen by their Index.

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>

#include "script/ScriptCompiler.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

// Up to 15 significant digits, the shortest form: fixed notation for
// exponents from -4 to 14, else "1.5E-5" / "1E20". Never the C locale's
// decimal sign.
std::string formatReal(double value) {
    if (value != value) return "NAN";
    if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
    if (value == 0) return "0";
    char buffer[64];
    auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
    if (error != std::errc()) return "0";
    std::string_view text(buffer, static_cast<std::size_t>(end - buffer));
    const bool negative = text[0] == '-';
    if (negative) text.remove_prefix(1);
    const std::size_t e = text.find('e');
    std::string digits;
    for (char c : text.substr(0, e))
        if (c != '.') digits += c;
    int exponent = 0;
    std::string_view exp = text.substr(e + 1);
    if (!exp.empty() && exp[0] == '+') exp.remove_prefix(1);
    std::from_chars(exp.data(), exp.data() + exp.size(), exponent);
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    std::string out = negative ? "-" : "";
    if (exponent < -4 || exponent >= 15) {
        out += digits[0];
        if (digits.size() > 1) {
            out += '.';
            out.append(digits, 1);
        }
        out += 'E';
        out += std::to_string(exponent);
    } else if (exponent < 0) {
        out += "0.";
        out.append(static_cast<std::size_t>(-exponent - 1), '0');
        out += digits;
    } else {
        const auto whole = static_cast<std::size_t>(exponent + 1);
        if (digits.size() <= whole) {
            out += digits;
            out.append(whole - digits.size(), '0');
        } else {
            out.append(digits, 0, whole);
            out += '.';
            out.append(digits, whole);
        }
    }
    return out;
}

std::string trimLeftBytes(const std::string& s) {
    std::size_t b = 0;
    while (b < s.size() && static_cast<unsigned char>(s[b]) <= 32) ++b;
    return s.substr(b);
}
std::string trimRightBytes(const std::string& s) {
    std::size_t e = s.size();
    while (e > 0 && static_cast<unsigned char>(s[e - 1]) <= 32) --e;
    return s.substr(0, e);
}

// The built-ins, declared at creation in this order with exactly these lines.
constexpr std::string_view kBuiltins[] = {
    "procedure ProcessMessages;Index $0001;",
    "procedure Sleep(Milliseconds:Integer);Index $0002;",
    "procedure Pause;Index $0003;",
    "function Copy(S:String;Start,Length:Integer):String;Index $1001;",
    "function Delete(S:String;Index,Count:Integer):String;Index $1002;",
    "function InputBox(ACaption,APrompt,ADefault:String):String;Index $1003;",
    "function Insert(Source:String;S:String;Index:Integer):String;Index $1004;",
    "function IntToStr(Value:Integer):String;Index $1005;",
    "function LowerCase(S:String):String;Index $1006;",
    "function Trim(S:String):String;Index $1007;",
    "function TrimLeft(S:String):String;Index $1008;",
    "function TrimRight(S:String):String;Index $1009;",
    "function UpperCase(S:String):String;Index $100A;",
    "function FloatToStr(Value:Real):String;Index $100B;",
    "function CompareStr(S1,S2:String):Integer;Index $2001;",
    "function Exec(Path,CmdLine:String;Wait:Integer):Integer;Index $2002;",
    "function Length(S:String):Integer;Index $2003;",
    "function MessageBox(Text,Caption:String;Flags:Integer):Integer;Index $2004;",
    "function Pos(Substr:String;S:String): Integer;Index $2005;",
    "function Shell(Path,CmdLine:String):Integer;Index $2006;",
    "function StrToInt(S: String):Integer;Index $2007;",
    "function IsDefine(S:String):Integer;Index $2008;",
    "function Trunc(X:Real):Integer;Index $2009;",
    "function Round(X:Real):Integer;Index $200A;",
    "function Frac(X:Real):Real;Index $3001;",
    "function Int(X:Real):Real;Index $3002;",
    "function StrToFloat(S:String):Real;Index $3003;",
};

// A permanent routine runs a built-in when it is declared as the built-in of
// its index is: the same kind, parameter types and result.
bool fitsBuiltin(const script::Machine& m, const script::Routine& r) {
    const script::Routine* shape = m.builtinShape(r.index);
    if (!shape || shape->function != r.function) return false;
    if (r.function && shape->result != r.result) return false;
    return std::equal(r.parameters.begin(), r.parameters.end(), shape->parameters.begin(),
                      shape->parameters.end(), [](const TPPAParameter& a, const TPPAParameter& b) {
                          return a.type == b.type;
                      });
}

}  // namespace

std::string formatScriptReal(double value) {
    return formatReal(value);
}

namespace script {

namespace msg = script_messages;

void declareBuiltins(Machine& m) {
    for (std::string_view line : kBuiltins) {
        const Routine& builtin = declareRoutine(m, std::string(line), true);
        m.builtins.emplace(builtin.index, &builtin);
    }
}

void callBuiltin(Machine& m, const Routine& r, TPPAArgument* a, TPPAArgument& result) {
    if (!fitsBuiltin(m, r))
        fail(msg::bracketed(r.function ? msg::kNoBuiltinFunction : msg::kNoBuiltinProcedure,
                            r.name));
    std::string& text = result.strValue;
    std::int64_t& number = result.intValue;
    switch (r.index) {
        case 0x0001:
            m.host().pump();
            return;
        case 0x0002: {
            // The low 32 bits, waited in slices that let events in and notice Abort.
            const auto ms = static_cast<std::uint32_t>(a[0].intValue);
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
            for (;;) {
                auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                                deadline - std::chrono::steady_clock::now())
                                .count();
                if (left <= 0) break;
                if (!m.waitSlice(static_cast<int>(std::min<long long>(left, 50)))) break;
            }
            return;
        }
        case 0x0003:
            m.paused = true;
            if (m.events().PauseProc) m.events().PauseProc();
            while (m.paused && m.waitSlice(50)) {
            }
            return;
        case 0x1001: {
            const std::string& s = a[0].strValue;
            std::int64_t start = std::max<std::int64_t>(a[1].intValue, 1);
            const std::int64_t length = a[2].intValue;
            if (start > static_cast<std::int64_t>(s.size()) || length < 0) return;
            text = s.substr(static_cast<std::size_t>(start - 1),
                            static_cast<std::size_t>(std::min<std::int64_t>(
                                length, static_cast<std::int64_t>(s.size()) - start + 1)));
            return;
        }
        case 0x1002: {
            text = a[0].strValue;
            const std::int64_t index = a[1].intValue, count = a[2].intValue;
            const auto size = static_cast<std::int64_t>(text.size());
            if (index < 1 || index > size || count <= 0) return;
            text.erase(static_cast<std::size_t>(index - 1),
                       static_cast<std::size_t>(std::min(count, size - index + 1)));
            return;
        }
        case 0x1003:
            text = m.host().inputBox(a[0].strValue, a[1].strValue, a[2].strValue);
            cutAtNul(text);
            return;
        case 0x1004: {
            text = a[1].strValue;
            const auto size = static_cast<std::int64_t>(text.size());
            const std::int64_t at = std::clamp<std::int64_t>(a[2].intValue - 1, 0, size);
            if (text.size() + a[0].strValue.size() > kMaxString) fail(std::string(msg::kTooLong));
            text.insert(static_cast<std::size_t>(at), a[0].strValue);
            return;
        }
        case 0x1005:
            text = std::to_string(a[0].intValue);
            return;
        case 0x1006:
            text = lowerText(a[0].strValue);
            return;
        case 0x1007:
            text = trimText(a[0].strValue);
            return;
        case 0x1008:
            text = trimLeftBytes(a[0].strValue);
            return;
        case 0x1009:
            text = trimRightBytes(a[0].strValue);
            return;
        case 0x100A:
            text = upperText(a[0].strValue);
            return;
        case 0x100B:
            text = formatReal(a[0].realValue);
            return;
        case 0x2001: {
            const int c = a[0].strValue.compare(a[1].strValue);
            number = c < 0 ? -1 : c > 0 ? 1 : 0;
            return;
        }
        case 0x2002:
            number = m.host().exec(a[0].strValue, a[1].strValue, a[2].intValue == -1,
                                   [&m] { return m.waitSlice(20); });
            return;
        case 0x2003:
            number = static_cast<std::int64_t>(a[0].strValue.size());
            return;
        case 0x2004:
            number = m.host().messageBox(a[0].strValue, a[1].strValue,
                                         static_cast<std::int32_t>(a[2].intValue));
            return;
        case 0x2005: {
            if (a[0].strValue.empty()) return;
            const std::size_t at = findOnBoundary(a[1].strValue, a[0].strValue);
            number = at == std::string::npos ? 0 : static_cast<std::int64_t>(at) + 1;
            return;
        }
        case 0x2006:
            number = m.host().shell(a[0].strValue, a[1].strValue);
            return;
        case 0x2007: {
            std::int64_t v = 0;
            number = readScriptInteger(a[0].strValue, v) ? v : 0;
            return;
        }
        case 0x2008:
            number = 0;
            for (const std::string& word : m.define)
                if (sameText(word, a[0].strValue)) number = -1;
            return;
        case 0x2009:
            number = realToInteger(std::trunc(a[0].realValue));
            return;
        case 0x200A:
            number = realToInteger(std::nearbyint(a[0].realValue));
            return;
        case 0x3001:
            result.realValue = checkedReal(a[0].realValue - std::trunc(a[0].realValue));
            return;
        case 0x3002:
            result.realValue = checkedReal(std::trunc(a[0].realValue));
            return;
        case 0x3003: {
            double v = 0;
            result.realValue = readScriptReal(a[0].strValue, v) ? v : 0.0;
            return;
        }
        default:
            break;
    }
    fail(msg::bracketed(r.function ? msg::kNoBuiltinFunction : msg::kNoBuiltinProcedure, r.name));
}

}  // namespace script

}  // namespace zel
