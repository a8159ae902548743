// Identifiers under which the component's classes are registered, kept so
// that clients addressing the classes by name or identifier find them.
#pragma once

namespace tqlm::registration {

inline constexpr const char* kTypeLibrary = "TQLM20XMLGenerator";

inline constexpr const char* kGeneratorProgId = "TQLM20XMLGenerator.ClsXMLGenerator";
inline constexpr const char* kGeneratorClassId = "{3F056CC0-77B4-4053-8810-74D1AC01E001}";
inline constexpr const char* kGeneratorInterface = "_ClsXMLGenerator";
inline constexpr const char* kGeneratorInterfaceId = "{EB9AAE20-6336-4D12-A1DD-86C9B5A2FB96}";

inline constexpr const char* kLegacyProgId = "TQLM20XMLGenerator.ClsXMLLegacy";
inline constexpr const char* kLegacyClassId = "{DEA6EEF4-446E-40F5-9241-AD3D18E2EE0B}";
inline constexpr const char* kLegacyInterface = "_ClsXMLLegacy";
inline constexpr const char* kLegacyInterfaceId = "{7700276B-DE56-4C90-966F-414721F82C03}";

inline constexpr const char* kDumpInfoProgId = "TQLM20XMLGenerator.CDumpInfo";
inline constexpr const char* kDumpInfoClassId = "{3C637DEE-014A-4887-9DBE-A44983BFA7C2}";
inline constexpr const char* kDumpInfoInterface = "_CDumpInfo";
inline constexpr const char* kDumpInfoInterfaceId = "{124D9942-A99A-4380-AE7B-3AF9577E0DEC}";

inline constexpr const char* kFieldInfoProgId = "TQLM20XMLGenerator.CFieldInfo";
inline constexpr const char* kFieldInfoClassId = "{081E6D06-5613-466D-85D9-0125C6E58EEE}";
inline constexpr const char* kFieldInfoInterface = "_CFieldInfo";
inline constexpr const char* kFieldInfoInterfaceId = "{5AD03ACB-9E46-4721-834D-DA8391C6753A}";

inline constexpr const char* kEnumGenerateXmlId = "{5EF8DA2F-2F06-4CB2-825E-79C9FF2B5849}";

}  // namespace tqlm::registration
