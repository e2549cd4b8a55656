// A registrar for registry scripts of the form
//
//   HKCR
//   {
//       NoRemove CLSID
//       {
//           ForceRemove '{...}' = s 'Load Class'
//           {
//               InprocServer32 = s '%MODULE%'
//               {
//                   val ThreadingModel = s 'Apartment'
//               }
//           }
//       }
//   }
//
// A key line is  [NoRemove|ForceRemove] name [= type 'data'] [{ ... }]  and a
// value line is  val name = type 'data'.  Types: s (REG_SZ), e (REG_EXPAND_SZ),
// d (REG_DWORD, decimal or 0x hexadecimal). Names and data are bare words or
// quoted with single quotes (a doubled quote stands for one). %NAME% is
// replaced by the variable's value inside names and data after the script is
// split into words, so a value holding quotes or braces cannot change the
// script's structure; %% stands for one percent sign.
//
// Registering creates every key and value; ForceRemove keys are deleted with
// everything below them first. Unregistering removes ForceRemove keys whole,
// keeps NoRemove keys (but works through their contents), and removes other
// keys after their contents when no sub-key is left in them.
#ifndef QMATESHELL_REGISTRAR_H
#define QMATESHELL_REGISTRAR_H

#include <windows.h>
#include <map>
#include <string>
#include <vector>

class CRegistryScript {
public:
    using Variables = std::map<std::string, std::string>;

    // Parses `text`, replacing the variables. False with a message in `error`
    // when the script is malformed or names an unknown variable.
    bool Parse(const std::string& text, const Variables& vars, std::string* error = nullptr);

    // Applies the parsed script. S_OK, or the first failure as an HRESULT.
    HRESULT Register() const;
    HRESULT Unregister() const;

    struct Node {
        enum Removal {
            Normal,
            NoRemove,
            ForceRemove
        };
        Removal removal = Normal;
        bool isValue = false;
        std::string name;
        bool hasData = false;
        DWORD type = REG_SZ;
        std::string data;
        DWORD dword = 0;
        std::vector<Node> children;
    };
    struct Root {
        HKEY key = nullptr;
        std::vector<Node> children;
    };
    const std::vector<Root>& Roots() const { return m_roots; }

private:
    std::vector<Root> m_roots;
};

#endif
