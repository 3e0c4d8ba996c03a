// SAF HPI B.03 data types as they cross the wire to the controller daemon.
//
// Field order, widths and constant names are the standard's. The structs are
// plain C layouts (standard-layout, trivially copyable) so the marshal tables
// can describe them with offsetof. Enumerated types are integer typedefs and
// their values typed constants: a value read from the daemon may be anything,
// and an integer holds it without surprises.
//
// Layout on the target (32-bit ARM EABI): pointers are 4 bytes, 64-bit members
// are aligned to 8. None of these structs holds a pointer, so the layout is the
// same on a 64-bit host.
#pragma once

#include <cstddef>
#include <cstdint>

// ---------------------------------------------------------------------------
// Basic types

typedef uint8_t SaHpiUint8T;
typedef uint16_t SaHpiUint16T;
typedef uint32_t SaHpiUint32T;
typedef uint64_t SaHpiUint64T;
typedef int8_t SaHpiInt8T;
typedef int16_t SaHpiInt16T;
typedef int32_t SaHpiInt32T;
typedef int64_t SaHpiInt64T;
typedef float SaHpiFloat32T;
typedef double SaHpiFloat64T;

typedef SaHpiUint8T SaHpiBoolT;
inline constexpr SaHpiBoolT SAHPI_FALSE = 0;
inline constexpr SaHpiBoolT SAHPI_TRUE = 1;

typedef SaHpiUint32T SaHpiManufacturerIdT;
inline constexpr SaHpiManufacturerIdT SAHPI_MANUFACTURER_ID_UNSPECIFIED = 0;

typedef SaHpiUint32T SaHpiVersionT;
inline constexpr SaHpiVersionT SAHPI_INTERFACE_VERSION = 0x020301;

typedef SaHpiInt32T SaErrorT;

typedef SaHpiUint32T SaHpiDomainIdT;
typedef SaHpiUint32T SaHpiSessionIdT;
typedef SaHpiUint32T SaHpiResourceIdT;
typedef SaHpiUint32T SaHpiEntryIdT;
typedef SaHpiInt64T SaHpiTimeT;
typedef SaHpiInt64T SaHpiTimeoutT;

typedef SaHpiUint32T SaHpiInstrumentIdT;
typedef SaHpiInstrumentIdT SaHpiSensorNumT;
typedef SaHpiInstrumentIdT SaHpiCtrlNumT;
typedef SaHpiInstrumentIdT SaHpiIdrIdT;
typedef SaHpiInstrumentIdT SaHpiWatchdogNumT;
typedef SaHpiInstrumentIdT SaHpiAnnunciatorNumT;
typedef SaHpiInstrumentIdT SaHpiDimiNumT;
typedef SaHpiInstrumentIdT SaHpiFumiNumT;

typedef SaHpiUint8T SaHpiBankNumT;
typedef SaHpiUint32T SaHpiDimiTestNumT;
typedef SaHpiUint8T SaHpiDimiTestPercentCompletedT;

// ---------------------------------------------------------------------------
// Results

inline constexpr SaErrorT SA_OK = 0;
inline constexpr SaErrorT SA_HPI_ERR_BASE = -1000;
inline constexpr SaErrorT SA_ERR_HPI_ERROR = -1001;
inline constexpr SaErrorT SA_ERR_HPI_UNSUPPORTED_API = -1002;
inline constexpr SaErrorT SA_ERR_HPI_BUSY = -1003;
inline constexpr SaErrorT SA_ERR_HPI_INTERNAL_ERROR = -1004;
inline constexpr SaErrorT SA_ERR_HPI_INVALID_CMD = -1005;
inline constexpr SaErrorT SA_ERR_HPI_TIMEOUT = -1006;
inline constexpr SaErrorT SA_ERR_HPI_OUT_OF_SPACE = -1007;
inline constexpr SaErrorT SA_ERR_HPI_OUT_OF_MEMORY = -1008;
inline constexpr SaErrorT SA_ERR_HPI_INVALID_PARAMS = -1009;
inline constexpr SaErrorT SA_ERR_HPI_INVALID_DATA = -1010;
inline constexpr SaErrorT SA_ERR_HPI_NOT_PRESENT = -1011;
inline constexpr SaErrorT SA_ERR_HPI_NO_RESPONSE = -1012;
inline constexpr SaErrorT SA_ERR_HPI_DUPLICATE = -1013;
inline constexpr SaErrorT SA_ERR_HPI_INVALID_SESSION = -1014;
inline constexpr SaErrorT SA_ERR_HPI_INVALID_DOMAIN = -1015;
inline constexpr SaErrorT SA_ERR_HPI_INVALID_RESOURCE = -1016;
inline constexpr SaErrorT SA_ERR_HPI_INVALID_REQUEST = -1017;
inline constexpr SaErrorT SA_ERR_HPI_ENTITY_NOT_PRESENT = -1018;
inline constexpr SaErrorT SA_ERR_HPI_READ_ONLY = -1019;
inline constexpr SaErrorT SA_ERR_HPI_CAPABILITY = -1020;
inline constexpr SaErrorT SA_ERR_HPI_UNKNOWN = -1021;
inline constexpr SaErrorT SA_ERR_HPI_INVALID_STATE = -1022;
inline constexpr SaErrorT SA_ERR_HPI_UNSUPPORTED_PARAMS = -1023;

// ---------------------------------------------------------------------------
// Reserved identifiers and times

inline constexpr SaHpiUint32T SAHPI_UNSPECIFIED_DOMAIN_ID = 0xFFFFFFFF;
inline constexpr SaHpiUint32T SAHPI_UNSPECIFIED_RESOURCE_ID = 0xFFFFFFFF;
inline constexpr SaHpiUint32T SAHPI_FIRST_ENTRY = 0x00000000;
inline constexpr SaHpiUint32T SAHPI_LAST_ENTRY = 0xFFFFFFFF;
inline constexpr SaHpiUint32T SAHPI_ENTRY_UNSPECIFIED = SAHPI_FIRST_ENTRY;
inline constexpr SaHpiUint32T SAHPI_DEFAULT_INVENTORY_ID = 0;
inline constexpr SaHpiUint32T SAHPI_DEFAULT_WATCHDOG_NUM = 0;

constexpr SaHpiTimeT SAHPI_TIME_UNSPECIFIED = INT64_MIN;  // 0x8000000000000000
constexpr SaHpiTimeT SAHPI_TIME_MAX_RELATIVE = 0x0C00000000000000LL;
constexpr SaHpiTimeoutT SAHPI_TIMEOUT_IMMEDIATE = 0;
constexpr SaHpiTimeoutT SAHPI_TIMEOUT_BLOCK = -1;

// ---------------------------------------------------------------------------
// Text buffers

inline constexpr SaHpiUint32T SAHPI_MAX_TEXT_BUFFER_LENGTH = 255;

typedef SaHpiUint32T SaHpiTextTypeT;
inline constexpr SaHpiTextTypeT SAHPI_TL_TYPE_UNICODE = 0;
inline constexpr SaHpiTextTypeT SAHPI_TL_TYPE_BCDPLUS = 1;
inline constexpr SaHpiTextTypeT SAHPI_TL_TYPE_ASCII6 = 2;
inline constexpr SaHpiTextTypeT SAHPI_TL_TYPE_TEXT = 3;
inline constexpr SaHpiTextTypeT SAHPI_TL_TYPE_BINARY = 4;

typedef SaHpiUint32T SaHpiLanguageT;
inline constexpr SaHpiLanguageT SAHPI_LANG_UNDEF = 0;
inline constexpr SaHpiLanguageT SAHPI_LANG_AFAR = 1;
inline constexpr SaHpiLanguageT SAHPI_LANG_ABKHAZIAN = 2;
inline constexpr SaHpiLanguageT SAHPI_LANG_AFRIKAANS = 3;
inline constexpr SaHpiLanguageT SAHPI_LANG_AMHARIC = 4;
inline constexpr SaHpiLanguageT SAHPI_LANG_ARABIC = 5;
inline constexpr SaHpiLanguageT SAHPI_LANG_ASSAMESE = 6;
inline constexpr SaHpiLanguageT SAHPI_LANG_AYMARA = 7;
inline constexpr SaHpiLanguageT SAHPI_LANG_AZERBAIJANI = 8;
inline constexpr SaHpiLanguageT SAHPI_LANG_BASHKIR = 9;
inline constexpr SaHpiLanguageT SAHPI_LANG_BYELORUSSIAN = 10;
inline constexpr SaHpiLanguageT SAHPI_LANG_BULGARIAN = 11;
inline constexpr SaHpiLanguageT SAHPI_LANG_BIHARI = 12;
inline constexpr SaHpiLanguageT SAHPI_LANG_BISLAMA = 13;
inline constexpr SaHpiLanguageT SAHPI_LANG_BENGALI = 14;
inline constexpr SaHpiLanguageT SAHPI_LANG_TIBETAN = 15;
inline constexpr SaHpiLanguageT SAHPI_LANG_BRETON = 16;
inline constexpr SaHpiLanguageT SAHPI_LANG_CATALAN = 17;
inline constexpr SaHpiLanguageT SAHPI_LANG_CORSICAN = 18;
inline constexpr SaHpiLanguageT SAHPI_LANG_CZECH = 19;
inline constexpr SaHpiLanguageT SAHPI_LANG_WELSH = 20;
inline constexpr SaHpiLanguageT SAHPI_LANG_DANISH = 21;
inline constexpr SaHpiLanguageT SAHPI_LANG_GERMAN = 22;
inline constexpr SaHpiLanguageT SAHPI_LANG_BHUTANI = 23;
inline constexpr SaHpiLanguageT SAHPI_LANG_GREEK = 24;
inline constexpr SaHpiLanguageT SAHPI_LANG_ENGLISH = 25;
inline constexpr SaHpiLanguageT SAHPI_LANG_ESPERANTO = 26;
inline constexpr SaHpiLanguageT SAHPI_LANG_SPANISH = 27;
inline constexpr SaHpiLanguageT SAHPI_LANG_ESTONIAN = 28;
inline constexpr SaHpiLanguageT SAHPI_LANG_BASQUE = 29;
inline constexpr SaHpiLanguageT SAHPI_LANG_PERSIAN = 30;
inline constexpr SaHpiLanguageT SAHPI_LANG_FINNISH = 31;
inline constexpr SaHpiLanguageT SAHPI_LANG_FIJI = 32;
inline constexpr SaHpiLanguageT SAHPI_LANG_FAEROESE = 33;
inline constexpr SaHpiLanguageT SAHPI_LANG_FRENCH = 34;
inline constexpr SaHpiLanguageT SAHPI_LANG_FRISIAN = 35;
inline constexpr SaHpiLanguageT SAHPI_LANG_IRISH = 36;
inline constexpr SaHpiLanguageT SAHPI_LANG_SCOTSGAELIC = 37;
inline constexpr SaHpiLanguageT SAHPI_LANG_GALICIAN = 38;
inline constexpr SaHpiLanguageT SAHPI_LANG_GUARANI = 39;
inline constexpr SaHpiLanguageT SAHPI_LANG_GUJARATI = 40;
inline constexpr SaHpiLanguageT SAHPI_LANG_HAUSA = 41;
inline constexpr SaHpiLanguageT SAHPI_LANG_HINDI = 42;
inline constexpr SaHpiLanguageT SAHPI_LANG_CROATIAN = 43;
inline constexpr SaHpiLanguageT SAHPI_LANG_HUNGARIAN = 44;
inline constexpr SaHpiLanguageT SAHPI_LANG_ARMENIAN = 45;
inline constexpr SaHpiLanguageT SAHPI_LANG_INTERLINGUA = 46;
inline constexpr SaHpiLanguageT SAHPI_LANG_INTERLINGUE = 47;
inline constexpr SaHpiLanguageT SAHPI_LANG_INUPIAK = 48;
inline constexpr SaHpiLanguageT SAHPI_LANG_INDONESIAN = 49;
inline constexpr SaHpiLanguageT SAHPI_LANG_ICELANDIC = 50;
inline constexpr SaHpiLanguageT SAHPI_LANG_ITALIAN = 51;
inline constexpr SaHpiLanguageT SAHPI_LANG_HEBREW = 52;
inline constexpr SaHpiLanguageT SAHPI_LANG_JAPANESE = 53;
inline constexpr SaHpiLanguageT SAHPI_LANG_YIDDISH = 54;
inline constexpr SaHpiLanguageT SAHPI_LANG_JAVANESE = 55;
inline constexpr SaHpiLanguageT SAHPI_LANG_GEORGIAN = 56;
inline constexpr SaHpiLanguageT SAHPI_LANG_KAZAKH = 57;
inline constexpr SaHpiLanguageT SAHPI_LANG_GREENLANDIC = 58;
inline constexpr SaHpiLanguageT SAHPI_LANG_CAMBODIAN = 59;
inline constexpr SaHpiLanguageT SAHPI_LANG_KANNADA = 60;
inline constexpr SaHpiLanguageT SAHPI_LANG_KOREAN = 61;
inline constexpr SaHpiLanguageT SAHPI_LANG_KASHMIRI = 62;
inline constexpr SaHpiLanguageT SAHPI_LANG_KURDISH = 63;
inline constexpr SaHpiLanguageT SAHPI_LANG_KIRGHIZ = 64;
inline constexpr SaHpiLanguageT SAHPI_LANG_LATIN = 65;
inline constexpr SaHpiLanguageT SAHPI_LANG_LINGALA = 66;
inline constexpr SaHpiLanguageT SAHPI_LANG_LAOTHIAN = 67;
inline constexpr SaHpiLanguageT SAHPI_LANG_LITHUANIAN = 68;
inline constexpr SaHpiLanguageT SAHPI_LANG_LATVIANLETTISH = 69;
inline constexpr SaHpiLanguageT SAHPI_LANG_MALAGASY = 70;
inline constexpr SaHpiLanguageT SAHPI_LANG_MAORI = 71;
inline constexpr SaHpiLanguageT SAHPI_LANG_MACEDONIAN = 72;
inline constexpr SaHpiLanguageT SAHPI_LANG_MALAYALAM = 73;
inline constexpr SaHpiLanguageT SAHPI_LANG_MONGOLIAN = 74;
inline constexpr SaHpiLanguageT SAHPI_LANG_MOLDAVIAN = 75;
inline constexpr SaHpiLanguageT SAHPI_LANG_MARATHI = 76;
inline constexpr SaHpiLanguageT SAHPI_LANG_MALAY = 77;
inline constexpr SaHpiLanguageT SAHPI_LANG_MALTESE = 78;
inline constexpr SaHpiLanguageT SAHPI_LANG_BURMESE = 79;
inline constexpr SaHpiLanguageT SAHPI_LANG_NAURU = 80;
inline constexpr SaHpiLanguageT SAHPI_LANG_NEPALI = 81;
inline constexpr SaHpiLanguageT SAHPI_LANG_DUTCH = 82;
inline constexpr SaHpiLanguageT SAHPI_LANG_NORWEGIAN = 83;
inline constexpr SaHpiLanguageT SAHPI_LANG_OCCITAN = 84;
inline constexpr SaHpiLanguageT SAHPI_LANG_AFANOROMO = 85;
inline constexpr SaHpiLanguageT SAHPI_LANG_ORIYA = 86;
inline constexpr SaHpiLanguageT SAHPI_LANG_PUNJABI = 87;
inline constexpr SaHpiLanguageT SAHPI_LANG_POLISH = 88;
inline constexpr SaHpiLanguageT SAHPI_LANG_PASHTOPUSHTO = 89;
inline constexpr SaHpiLanguageT SAHPI_LANG_PORTUGUESE = 90;
inline constexpr SaHpiLanguageT SAHPI_LANG_QUECHUA = 91;
inline constexpr SaHpiLanguageT SAHPI_LANG_RHAETOROMANCE = 92;
inline constexpr SaHpiLanguageT SAHPI_LANG_KIRUNDI = 93;
inline constexpr SaHpiLanguageT SAHPI_LANG_ROMANIAN = 94;
inline constexpr SaHpiLanguageT SAHPI_LANG_RUSSIAN = 95;
inline constexpr SaHpiLanguageT SAHPI_LANG_KINYARWANDA = 96;
inline constexpr SaHpiLanguageT SAHPI_LANG_SANSKRIT = 97;
inline constexpr SaHpiLanguageT SAHPI_LANG_SINDHI = 98;
inline constexpr SaHpiLanguageT SAHPI_LANG_SANGRO = 99;
inline constexpr SaHpiLanguageT SAHPI_LANG_SERBOCROATIAN = 100;
inline constexpr SaHpiLanguageT SAHPI_LANG_SINGHALESE = 101;
inline constexpr SaHpiLanguageT SAHPI_LANG_SLOVAK = 102;
inline constexpr SaHpiLanguageT SAHPI_LANG_SLOVENIAN = 103;
inline constexpr SaHpiLanguageT SAHPI_LANG_SAMOAN = 104;
inline constexpr SaHpiLanguageT SAHPI_LANG_SHONA = 105;
inline constexpr SaHpiLanguageT SAHPI_LANG_SOMALI = 106;
inline constexpr SaHpiLanguageT SAHPI_LANG_ALBANIAN = 107;
inline constexpr SaHpiLanguageT SAHPI_LANG_SERBIAN = 108;
inline constexpr SaHpiLanguageT SAHPI_LANG_SISWATI = 109;
inline constexpr SaHpiLanguageT SAHPI_LANG_SESOTHO = 110;
inline constexpr SaHpiLanguageT SAHPI_LANG_SUDANESE = 111;
inline constexpr SaHpiLanguageT SAHPI_LANG_SWEDISH = 112;
inline constexpr SaHpiLanguageT SAHPI_LANG_SWAHILI = 113;
inline constexpr SaHpiLanguageT SAHPI_LANG_TAMIL = 114;
inline constexpr SaHpiLanguageT SAHPI_LANG_TELUGU = 115;
inline constexpr SaHpiLanguageT SAHPI_LANG_TAJIK = 116;
inline constexpr SaHpiLanguageT SAHPI_LANG_THAI = 117;
inline constexpr SaHpiLanguageT SAHPI_LANG_TIGRINYA = 118;
inline constexpr SaHpiLanguageT SAHPI_LANG_TURKMEN = 119;
inline constexpr SaHpiLanguageT SAHPI_LANG_TAGALOG = 120;
inline constexpr SaHpiLanguageT SAHPI_LANG_SETSWANA = 121;
inline constexpr SaHpiLanguageT SAHPI_LANG_TONGA = 122;
inline constexpr SaHpiLanguageT SAHPI_LANG_TURKISH = 123;
inline constexpr SaHpiLanguageT SAHPI_LANG_TSONGA = 124;
inline constexpr SaHpiLanguageT SAHPI_LANG_TATAR = 125;
inline constexpr SaHpiLanguageT SAHPI_LANG_TWI = 126;
inline constexpr SaHpiLanguageT SAHPI_LANG_UKRAINIAN = 127;
inline constexpr SaHpiLanguageT SAHPI_LANG_URDU = 128;
inline constexpr SaHpiLanguageT SAHPI_LANG_UZBEK = 129;
inline constexpr SaHpiLanguageT SAHPI_LANG_VIETNAMESE = 130;
inline constexpr SaHpiLanguageT SAHPI_LANG_VOLAPUK = 131;
inline constexpr SaHpiLanguageT SAHPI_LANG_WOLOF = 132;
inline constexpr SaHpiLanguageT SAHPI_LANG_XHOSA = 133;
inline constexpr SaHpiLanguageT SAHPI_LANG_YORUBA = 134;
inline constexpr SaHpiLanguageT SAHPI_LANG_CHINESE = 135;
inline constexpr SaHpiLanguageT SAHPI_LANG_ZULU = 136;

static_assert(SAHPI_LANG_ENGLISH == 25, "language numbering");

typedef struct {
  SaHpiTextTypeT DataType;
  SaHpiLanguageT Language;
  SaHpiUint8T DataLength;
  SaHpiUint8T Data[SAHPI_MAX_TEXT_BUFFER_LENGTH];
} SaHpiTextBufferT;

// ---------------------------------------------------------------------------
// Entities

typedef SaHpiUint32T SaHpiEntityLocationT;
typedef SaHpiUint32T SaHpiEntityTypeT;

inline constexpr SaHpiEntityTypeT SAHPI_ENT_IPMI_GROUP = 0;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_SAFHPI_GROUP = 0x10000;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_ROOT_VALUE = 0xFFFF;

inline constexpr SaHpiEntityTypeT SAHPI_ENT_UNSPECIFIED = SAHPI_ENT_IPMI_GROUP;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_OTHER = 0x1;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_UNKNOWN = 0x2;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_PROCESSOR = 0x3;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_DISK_BAY = 0x4;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_PERIPHERAL_BAY = 0x5;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_SYS_MGMNT_MODULE = 0x6;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_SYSTEM_BOARD = 0x7;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_MEMORY_MODULE = 0x8;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_PROCESSOR_MODULE = 0x9;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_POWER_SUPPLY = 0xA;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_ADD_IN_CARD = 0xB;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_FRONT_PANEL_BOARD = 0xC;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_BACK_PANEL_BOARD = 0xD;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_POWER_SYSTEM_BOARD = 0xE;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_DRIVE_BACKPLANE = 0xF;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_SYS_EXPANSION_BOARD = 0x10;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_OTHER_SYSTEM_BOARD = 0x11;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_PROCESSOR_BOARD = 0x12;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_POWER_UNIT = 0x13;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_POWER_MODULE = 0x14;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_POWER_MGMNT = 0x15;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_CHASSIS_BACK_PANEL_BOARD = 0x16;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_SYSTEM_CHASSIS = 0x17;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_SUB_CHASSIS = 0x18;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_OTHER_CHASSIS_BOARD = 0x19;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_DISK_DRIVE_BAY = 0x1A;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_PERIPHERAL_BAY_2 = 0x1B;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_DEVICE_BAY = 0x1C;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_COOLING_DEVICE = 0x1D;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_COOLING_UNIT = 0x1E;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_INTERCONNECT = 0x1F;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_MEMORY_DEVICE = 0x20;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_SYS_MGMNT_SOFTWARE = 0x21;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_BIOS = 0x22;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_OPERATING_SYSTEM = 0x23;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_SYSTEM_BUS = 0x24;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_GROUP = 0x25;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_REMOTE = 0x26;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_EXTERNAL_ENVIRONMENT = 0x27;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_BATTERY = 0x28;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_PROCESSING_BLADE = 0x29;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_CONNECTIVITY_SWITCH = 0x2A;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_PROCESSOR_MEMORY_MODULE = 0x2B;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_IO_MODULE = 0x2C;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_PROCESSOR_IO_MODULE = 0x2D;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_MC_FIRMWARE = 0x2E;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_IPMI_CHANNEL = 0x2F;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_PCI_BUS = 0x30;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_PCI_EXPRESS_BUS = 0x31;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_SCSI_BUS = 0x32;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_SATA_BUS = 0x33;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_PROC_FSB = 0x34;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_CLOCK = 0x35;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_SYSTEM_FIRMWARE = 0x36;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_CHASSIS_SPECIFIC = SAHPI_ENT_IPMI_GROUP + 0x90;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_BOARD_SET_SPECIFIC = SAHPI_ENT_IPMI_GROUP + 0xB0;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_OEM_SYSINT_SPECIFIC = SAHPI_ENT_IPMI_GROUP + 0xD0;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_ROOT = SAHPI_ENT_ROOT_VALUE;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_RACK = SAHPI_ENT_SAFHPI_GROUP;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_SUBRACK = 0x10001;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_COMPACTPCI_CHASSIS = 0x10002;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_ADVANCEDTCA_CHASSIS = 0x10003;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_RACK_MOUNTED_SERVER = 0x10004;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_SYSTEM_BLADE = 0x10005;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_SWITCH = 0x10006;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_SWITCH_BLADE = 0x10007;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_SBC_BLADE = 0x10008;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_IO_BLADE = 0x10009;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_DISK_BLADE = 0x1000A;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_DISK_DRIVE = 0x1000B;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_FAN = 0x1000C;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_POWER_DISTRIBUTION_UNIT = 0x1000D;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_SPEC_PROC_BLADE = 0x1000E;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_IO_SUBBOARD = 0x1000F;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_SBC_SUBBOARD = 0x10010;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_ALARM_MANAGER = 0x10011;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_SHELF_MANAGER = 0x10012;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_DISPLAY_PANEL = 0x10013;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_SUBBOARD_CARRIER_BLADE = 0x10014;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_PHYSICAL_SLOT = 0x10015;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_PICMG_FRONT_BLADE = 0x10016;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_SYSTEM_INVENTORY_DEVICE = 0x10017;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_FILTRATION_UNIT = 0x10018;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_AMC = 0x10019;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_BMC = SAHPI_ENT_SAFHPI_GROUP + 0x30;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_IPMC = 0x10031;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_MMC = 0x10032;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_SHMC = 0x10033;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_CPLD = 0x10034;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_EPLD = 0x10035;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_FPGA = 0x10036;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_DASD = 0x10037;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_NIC = 0x10038;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_DSP = 0x10039;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_UCODE = 0x1003A;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_NPU = 0x1003B;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_OEM = 0x1003C;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_INTERFACE = 0x1003D;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_MICROTCA_CHASSIS = 0x1003E;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_CARRIER = 0x1003F;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_CARRIER_MANAGER = 0x10040;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_CONFIG_DATA = 0x10041;
inline constexpr SaHpiEntityTypeT SAHPI_ENT_INDICATOR = 0x10042;

inline constexpr SaHpiUint32T SAHPI_MAX_ENTITY_PATH = 16;

typedef struct {
  SaHpiEntityTypeT EntityType;
  SaHpiEntityLocationT EntityLocation;
} SaHpiEntityT;

// A path ends at its first SAHPI_ENT_ROOT entry (or after 16 entries).
typedef struct {
  SaHpiEntityT Entry[SAHPI_MAX_ENTITY_PATH];
} SaHpiEntityPathT;

// ---------------------------------------------------------------------------
// Events: categories and states

typedef SaHpiUint8T SaHpiEventCategoryT;
inline constexpr SaHpiEventCategoryT SAHPI_EC_UNSPECIFIED = 0x00;
inline constexpr SaHpiEventCategoryT SAHPI_EC_THRESHOLD = 0x01;
inline constexpr SaHpiEventCategoryT SAHPI_EC_USAGE = 0x02;
inline constexpr SaHpiEventCategoryT SAHPI_EC_STATE = 0x03;
inline constexpr SaHpiEventCategoryT SAHPI_EC_PRED_FAIL = 0x04;
inline constexpr SaHpiEventCategoryT SAHPI_EC_LIMIT = 0x05;
inline constexpr SaHpiEventCategoryT SAHPI_EC_PERFORMANCE = 0x06;
inline constexpr SaHpiEventCategoryT SAHPI_EC_SEVERITY = 0x07;
inline constexpr SaHpiEventCategoryT SAHPI_EC_PRESENCE = 0x08;
inline constexpr SaHpiEventCategoryT SAHPI_EC_ENABLE = 0x09;
inline constexpr SaHpiEventCategoryT SAHPI_EC_AVAILABILITY = 0x0A;
inline constexpr SaHpiEventCategoryT SAHPI_EC_REDUNDANCY = 0x0B;
inline constexpr SaHpiEventCategoryT SAHPI_EC_SENSOR_SPECIFIC = 0x7E;
inline constexpr SaHpiEventCategoryT SAHPI_EC_GENERIC = 0x7F;

typedef SaHpiUint16T SaHpiEventStateT;
inline constexpr SaHpiEventStateT SAHPI_ES_UNSPECIFIED = 0x0000;
// SAHPI_EC_THRESHOLD
inline constexpr SaHpiEventStateT SAHPI_ES_LOWER_MINOR = 0x0001;
inline constexpr SaHpiEventStateT SAHPI_ES_LOWER_MAJOR = 0x0002;
inline constexpr SaHpiEventStateT SAHPI_ES_LOWER_CRIT = 0x0004;
inline constexpr SaHpiEventStateT SAHPI_ES_UPPER_MINOR = 0x0008;
inline constexpr SaHpiEventStateT SAHPI_ES_UPPER_MAJOR = 0x0010;
inline constexpr SaHpiEventStateT SAHPI_ES_UPPER_CRIT = 0x0020;
// SAHPI_EC_USAGE
inline constexpr SaHpiEventStateT SAHPI_ES_IDLE = 0x0001;
inline constexpr SaHpiEventStateT SAHPI_ES_ACTIVE = 0x0002;
inline constexpr SaHpiEventStateT SAHPI_ES_BUSY = 0x0004;
// SAHPI_EC_STATE
inline constexpr SaHpiEventStateT SAHPI_ES_STATE_DEASSERTED = 0x0001;
inline constexpr SaHpiEventStateT SAHPI_ES_STATE_ASSERTED = 0x0002;
// SAHPI_EC_PRED_FAIL
inline constexpr SaHpiEventStateT SAHPI_ES_PRED_FAILURE_DEASSERT = 0x0001;
inline constexpr SaHpiEventStateT SAHPI_ES_PRED_FAILURE_ASSERT = 0x0002;
// SAHPI_EC_LIMIT
inline constexpr SaHpiEventStateT SAHPI_ES_LIMIT_NOT_EXCEEDED = 0x0001;
inline constexpr SaHpiEventStateT SAHPI_ES_LIMIT_EXCEEDED = 0x0002;
// SAHPI_EC_PERFORMANCE
inline constexpr SaHpiEventStateT SAHPI_ES_PERFORMANCE_MET = 0x0001;
inline constexpr SaHpiEventStateT SAHPI_ES_PERFORMANCE_LAGS = 0x0002;
// SAHPI_EC_SEVERITY
inline constexpr SaHpiEventStateT SAHPI_ES_OK = 0x0001;
inline constexpr SaHpiEventStateT SAHPI_ES_MINOR_FROM_OK = 0x0002;
inline constexpr SaHpiEventStateT SAHPI_ES_MAJOR_FROM_LESS = 0x0004;
inline constexpr SaHpiEventStateT SAHPI_ES_CRITICAL_FROM_LESS = 0x0008;
inline constexpr SaHpiEventStateT SAHPI_ES_MINOR_FROM_MORE = 0x0010;
inline constexpr SaHpiEventStateT SAHPI_ES_MAJOR_FROM_CRITICAL = 0x0020;
inline constexpr SaHpiEventStateT SAHPI_ES_CRITICAL = 0x0040;
inline constexpr SaHpiEventStateT SAHPI_ES_MONITOR = 0x0080;
inline constexpr SaHpiEventStateT SAHPI_ES_INFORMATIONAL = 0x0100;
// SAHPI_EC_PRESENCE
inline constexpr SaHpiEventStateT SAHPI_ES_ABSENT = 0x0001;
inline constexpr SaHpiEventStateT SAHPI_ES_PRESENT = 0x0002;
// SAHPI_EC_ENABLE
inline constexpr SaHpiEventStateT SAHPI_ES_DISABLED = 0x0001;
inline constexpr SaHpiEventStateT SAHPI_ES_ENABLED = 0x0002;
// SAHPI_EC_AVAILABILITY
inline constexpr SaHpiEventStateT SAHPI_ES_RUNNING = 0x0001;
inline constexpr SaHpiEventStateT SAHPI_ES_TEST = 0x0002;
inline constexpr SaHpiEventStateT SAHPI_ES_POWER_OFF = 0x0004;
inline constexpr SaHpiEventStateT SAHPI_ES_ON_LINE = 0x0008;
inline constexpr SaHpiEventStateT SAHPI_ES_OFF_LINE = 0x0010;
inline constexpr SaHpiEventStateT SAHPI_ES_OFF_DUTY = 0x0020;
inline constexpr SaHpiEventStateT SAHPI_ES_DEGRADED = 0x0040;
inline constexpr SaHpiEventStateT SAHPI_ES_POWER_SAVE = 0x0080;
inline constexpr SaHpiEventStateT SAHPI_ES_INSTALL_ERROR = 0x0100;
// SAHPI_EC_REDUNDANCY
inline constexpr SaHpiEventStateT SAHPI_ES_FULLY_REDUNDANT = 0x0001;
inline constexpr SaHpiEventStateT SAHPI_ES_REDUNDANCY_LOST = 0x0002;
inline constexpr SaHpiEventStateT SAHPI_ES_REDUNDANCY_DEGRADED = 0x0004;
inline constexpr SaHpiEventStateT SAHPI_ES_REDUNDANCY_LOST_SUFFICIENT_RESOURCES = 0x0008;
inline constexpr SaHpiEventStateT SAHPI_ES_NON_REDUNDANT_SUFFICIENT_RESOURCES = 0x0010;
inline constexpr SaHpiEventStateT SAHPI_ES_NON_REDUNDANT_INSUFFICIENT_RESOURCES = 0x0020;
inline constexpr SaHpiEventStateT SAHPI_ES_REDUNDANCY_DEGRADED_FROM_FULL = 0x0040;
inline constexpr SaHpiEventStateT SAHPI_ES_REDUNDANCY_DEGRADED_FROM_NON = 0x0080;
// SAHPI_EC_GENERIC and SAHPI_EC_SENSOR_SPECIFIC
inline constexpr SaHpiEventStateT SAHPI_ES_STATE_00 = 0x0001;
inline constexpr SaHpiEventStateT SAHPI_ES_STATE_01 = 0x0002;
inline constexpr SaHpiEventStateT SAHPI_ES_STATE_02 = 0x0004;
inline constexpr SaHpiEventStateT SAHPI_ES_STATE_03 = 0x0008;
inline constexpr SaHpiEventStateT SAHPI_ES_STATE_04 = 0x0010;
inline constexpr SaHpiEventStateT SAHPI_ES_STATE_05 = 0x0020;
inline constexpr SaHpiEventStateT SAHPI_ES_STATE_06 = 0x0040;
inline constexpr SaHpiEventStateT SAHPI_ES_STATE_07 = 0x0080;
inline constexpr SaHpiEventStateT SAHPI_ES_STATE_08 = 0x0100;
inline constexpr SaHpiEventStateT SAHPI_ES_STATE_09 = 0x0200;
inline constexpr SaHpiEventStateT SAHPI_ES_STATE_10 = 0x0400;
inline constexpr SaHpiEventStateT SAHPI_ES_STATE_11 = 0x0800;
inline constexpr SaHpiEventStateT SAHPI_ES_STATE_12 = 0x1000;
inline constexpr SaHpiEventStateT SAHPI_ES_STATE_13 = 0x2000;
inline constexpr SaHpiEventStateT SAHPI_ES_STATE_14 = 0x4000;

// ---------------------------------------------------------------------------
// Sensors

inline constexpr SaHpiUint32T SAHPI_SENSOR_BUFFER_LENGTH = 32;

typedef SaHpiUint32T SaHpiSensorTypeT;
inline constexpr SaHpiSensorTypeT SAHPI_TEMPERATURE = 0x01;
inline constexpr SaHpiSensorTypeT SAHPI_VOLTAGE = 0x2;
inline constexpr SaHpiSensorTypeT SAHPI_CURRENT = 0x3;
inline constexpr SaHpiSensorTypeT SAHPI_FAN = 0x4;
inline constexpr SaHpiSensorTypeT SAHPI_PHYSICAL_SECURITY = 0x5;
inline constexpr SaHpiSensorTypeT SAHPI_PLATFORM_VIOLATION = 0x6;
inline constexpr SaHpiSensorTypeT SAHPI_PROCESSOR = 0x7;
inline constexpr SaHpiSensorTypeT SAHPI_POWER_SUPPLY = 0x8;
inline constexpr SaHpiSensorTypeT SAHPI_POWER_UNIT = 0x9;
inline constexpr SaHpiSensorTypeT SAHPI_COOLING_DEVICE = 0xA;
inline constexpr SaHpiSensorTypeT SAHPI_OTHER_UNITS_BASED_SENSOR = 0xB;
inline constexpr SaHpiSensorTypeT SAHPI_MEMORY = 0xC;
inline constexpr SaHpiSensorTypeT SAHPI_DRIVE_SLOT = 0xD;
inline constexpr SaHpiSensorTypeT SAHPI_POST_MEMORY_RESIZE = 0xE;
inline constexpr SaHpiSensorTypeT SAHPI_SYSTEM_FW_PROGRESS = 0xF;
inline constexpr SaHpiSensorTypeT SAHPI_EVENT_LOGGING_DISABLED = 0x10;
inline constexpr SaHpiSensorTypeT SAHPI_RESERVED1 = 0x11;
inline constexpr SaHpiSensorTypeT SAHPI_SYSTEM_EVENT = 0x12;
inline constexpr SaHpiSensorTypeT SAHPI_CRITICAL_INTERRUPT = 0x13;
inline constexpr SaHpiSensorTypeT SAHPI_BUTTON = 0x14;
inline constexpr SaHpiSensorTypeT SAHPI_MODULE_BOARD = 0x15;
inline constexpr SaHpiSensorTypeT SAHPI_MICROCONTROLLER_COPROCESSOR = 0x16;
inline constexpr SaHpiSensorTypeT SAHPI_ADDIN_CARD = 0x17;
inline constexpr SaHpiSensorTypeT SAHPI_CHASSIS = 0x18;
inline constexpr SaHpiSensorTypeT SAHPI_CHIP_SET = 0x19;
inline constexpr SaHpiSensorTypeT SAHPI_OTHER_FRU = 0x1A;
inline constexpr SaHpiSensorTypeT SAHPI_CABLE_INTERCONNECT = 0x1B;
inline constexpr SaHpiSensorTypeT SAHPI_TERMINATOR = 0x1C;
inline constexpr SaHpiSensorTypeT SAHPI_SYSTEM_BOOT_INITIATED = 0x1D;
inline constexpr SaHpiSensorTypeT SAHPI_BOOT_ERROR = 0x1E;
inline constexpr SaHpiSensorTypeT SAHPI_OS_BOOT = 0x1F;
inline constexpr SaHpiSensorTypeT SAHPI_OS_CRITICAL_STOP = 0x20;
inline constexpr SaHpiSensorTypeT SAHPI_SLOT_CONNECTOR = 0x21;
inline constexpr SaHpiSensorTypeT SAHPI_SYSTEM_ACPI_POWER_STATE = 0x22;
inline constexpr SaHpiSensorTypeT SAHPI_RESERVED2 = 0x23;
inline constexpr SaHpiSensorTypeT SAHPI_PLATFORM_ALERT = 0x24;
inline constexpr SaHpiSensorTypeT SAHPI_ENTITY_PRESENCE = 0x25;
inline constexpr SaHpiSensorTypeT SAHPI_MONITOR_ASIC_IC = 0x26;
inline constexpr SaHpiSensorTypeT SAHPI_LAN = 0x27;
inline constexpr SaHpiSensorTypeT SAHPI_MANAGEMENT_SUBSYSTEM_HEALTH = 0x28;
inline constexpr SaHpiSensorTypeT SAHPI_BATTERY = 0x29;
inline constexpr SaHpiSensorTypeT SAHPI_SESSION_AUDIT = 0x2A;
inline constexpr SaHpiSensorTypeT SAHPI_VERSION_CHANGE = 0x2B;
inline constexpr SaHpiSensorTypeT SAHPI_OPERATIONAL = 0xA0;
inline constexpr SaHpiSensorTypeT SAHPI_OEM_SENSOR = 0xC0;
inline constexpr SaHpiSensorTypeT SAHPI_COMM_CHANNEL_LINK_STATE = 0x101;
inline constexpr SaHpiSensorTypeT SAHPI_MANAGEMENT_BUS_STATE = 0x102;

typedef SaHpiUint32T SaHpiSensorReadingTypeT;
inline constexpr SaHpiSensorReadingTypeT SAHPI_SENSOR_READING_TYPE_INT64 = 0;
inline constexpr SaHpiSensorReadingTypeT SAHPI_SENSOR_READING_TYPE_UINT64 = 1;
inline constexpr SaHpiSensorReadingTypeT SAHPI_SENSOR_READING_TYPE_FLOAT64 = 2;
inline constexpr SaHpiSensorReadingTypeT SAHPI_SENSOR_READING_TYPE_BUFFER = 3;

typedef SaHpiUint32T SaHpiSensorEventMaskActionT;
inline constexpr SaHpiSensorEventMaskActionT SAHPI_SENS_ADD_EVENTS_TO_MASKS = 0;
inline constexpr SaHpiSensorEventMaskActionT SAHPI_SENS_REMOVE_EVENTS_FROM_MASKS = 1;

// Pass as both masks of saHpiSensorEventMasksSet to mean every supported state.
inline constexpr SaHpiEventStateT SAHPI_ALL_EVENT_STATES = 0xFFFF;

typedef union {
  SaHpiInt64T SensorInt64;
  SaHpiUint64T SensorUint64;
  SaHpiFloat64T SensorFloat64;
  SaHpiUint8T SensorBuffer[SAHPI_SENSOR_BUFFER_LENGTH];
} SaHpiSensorReadingUnionT;

typedef struct {
  SaHpiBoolT IsSupported;
  SaHpiSensorReadingTypeT Type;
  SaHpiSensorReadingUnionT Value;
} SaHpiSensorReadingT;

typedef struct {
  SaHpiSensorReadingT LowCritical;
  SaHpiSensorReadingT LowMajor;
  SaHpiSensorReadingT LowMinor;
  SaHpiSensorReadingT UpCritical;
  SaHpiSensorReadingT UpMajor;
  SaHpiSensorReadingT UpMinor;
  SaHpiSensorReadingT PosThdHysteresis;
  SaHpiSensorReadingT NegThdHysteresis;
} SaHpiSensorThresholdsT;

typedef SaHpiUint8T SaHpiSensorRangeFlagsT;
inline constexpr SaHpiSensorRangeFlagsT SAHPI_SRF_MIN = 0x10;
inline constexpr SaHpiSensorRangeFlagsT SAHPI_SRF_MAX = 0x08;
inline constexpr SaHpiSensorRangeFlagsT SAHPI_SRF_NORMAL_MIN = 0x04;
inline constexpr SaHpiSensorRangeFlagsT SAHPI_SRF_NORMAL_MAX = 0x02;
inline constexpr SaHpiSensorRangeFlagsT SAHPI_SRF_NOMINAL = 0x01;

typedef struct {
  SaHpiSensorRangeFlagsT Flags;
  SaHpiSensorReadingT Max;
  SaHpiSensorReadingT Min;
  SaHpiSensorReadingT Nominal;
  SaHpiSensorReadingT NormalMax;
  SaHpiSensorReadingT NormalMin;
} SaHpiSensorRangeT;

typedef SaHpiUint32T SaHpiSensorUnitsT;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_UNSPECIFIED = 0;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_DEGREES_C = 1;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_DEGREES_F = 2;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_DEGREES_K = 3;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_VOLTS = 4;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_AMPS = 5;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_WATTS = 6;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_JOULES = 7;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_COULOMBS = 8;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_VA = 9;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_NITS = 10;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_LUMEN = 11;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_LUX = 12;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_CANDELA = 13;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_KPA = 14;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_PSI = 15;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_NEWTON = 16;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_CFM = 17;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_RPM = 18;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_HZ = 19;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_MICROSECOND = 20;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_MILLISECOND = 21;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_SECOND = 22;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_MINUTE = 23;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_HOUR = 24;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_DAY = 25;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_WEEK = 26;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_MIL = 27;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_INCHES = 28;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_FEET = 29;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_CU_IN = 30;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_CU_FEET = 31;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_MM = 32;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_CM = 33;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_M = 34;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_CU_CM = 35;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_CU_M = 36;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_LITERS = 37;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_FLUID_OUNCE = 38;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_RADIANS = 39;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_STERADIANS = 40;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_REVOLUTIONS = 41;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_CYCLES = 42;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_GRAVITIES = 43;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_OUNCE = 44;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_POUND = 45;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_FT_LB = 46;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_OZ_IN = 47;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_GAUSS = 48;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_GILBERTS = 49;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_HENRY = 50;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_MILLIHENRY = 51;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_FARAD = 52;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_MICROFARAD = 53;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_OHMS = 54;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_SIEMENS = 55;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_MOLE = 56;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_BECQUEREL = 57;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_PPM = 58;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_RESERVED = 59;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_DECIBELS = 60;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_DBA = 61;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_DBC = 62;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_GRAY = 63;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_SIEVERT = 64;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_COLOR_TEMP_DEG_K = 65;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_BIT = 66;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_KILOBIT = 67;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_MEGABIT = 68;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_GIGABIT = 69;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_BYTE = 70;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_KILOBYTE = 71;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_MEGABYTE = 72;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_GIGABYTE = 73;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_WORD = 74;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_DWORD = 75;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_QWORD = 76;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_LINE = 77;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_HIT = 78;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_MISS = 79;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_RETRY = 80;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_RESET = 81;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_OVERRUN = 82;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_UNDERRUN = 83;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_COLLISION = 84;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_PACKETS = 85;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_MESSAGES = 86;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_CHARACTERS = 87;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_ERRORS = 88;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_CORRECTABLE_ERRORS = 89;
inline constexpr SaHpiSensorUnitsT SAHPI_SU_UNCORRECTABLE_ERRORS = 90;

typedef SaHpiUint32T SaHpiSensorModUnitUseT;
inline constexpr SaHpiSensorModUnitUseT SAHPI_SMUU_NONE = 0;
inline constexpr SaHpiSensorModUnitUseT SAHPI_SMUU_BASIC_OVER_MODIFIER = 1;
inline constexpr SaHpiSensorModUnitUseT SAHPI_SMUU_BASIC_TIMES_MODIFIER = 2;

typedef struct {
  SaHpiBoolT IsSupported;
  SaHpiSensorReadingTypeT ReadingType;
  SaHpiSensorUnitsT BaseUnits;
  SaHpiSensorUnitsT ModifierUnits;
  SaHpiSensorModUnitUseT ModifierUse;
  SaHpiBoolT Percentage;
  SaHpiSensorRangeT Range;
  SaHpiFloat64T AccuracyFactor;
} SaHpiSensorDataFormatT;

typedef SaHpiUint8T SaHpiSensorThdMaskT;
inline constexpr SaHpiSensorThdMaskT SAHPI_STM_LOW_MINOR = 0x01;
inline constexpr SaHpiSensorThdMaskT SAHPI_STM_LOW_MAJOR = 0x02;
inline constexpr SaHpiSensorThdMaskT SAHPI_STM_LOW_CRIT = 0x04;
inline constexpr SaHpiSensorThdMaskT SAHPI_STM_UP_MINOR = 0x08;
inline constexpr SaHpiSensorThdMaskT SAHPI_STM_UP_MAJOR = 0x10;
inline constexpr SaHpiSensorThdMaskT SAHPI_STM_UP_CRIT = 0x20;
inline constexpr SaHpiSensorThdMaskT SAHPI_STM_UP_HYSTERESIS = 0x40;
inline constexpr SaHpiSensorThdMaskT SAHPI_STM_LOW_HYSTERESIS = 0x80;

typedef struct {
  SaHpiBoolT IsAccessible;
  SaHpiSensorThdMaskT ReadThold;
  SaHpiSensorThdMaskT WriteThold;
  SaHpiBoolT Nonlinear;
} SaHpiSensorThdDefnT;

typedef SaHpiUint32T SaHpiSensorEventCtrlT;
inline constexpr SaHpiSensorEventCtrlT SAHPI_SEC_PER_EVENT = 0;
inline constexpr SaHpiSensorEventCtrlT SAHPI_SEC_READ_ONLY_MASKS = 1;
inline constexpr SaHpiSensorEventCtrlT SAHPI_SEC_READ_ONLY = 2;

typedef struct {
  SaHpiSensorNumT Num;
  SaHpiSensorTypeT Type;
  SaHpiEventCategoryT Category;
  SaHpiBoolT EnableCtrl;
  SaHpiSensorEventCtrlT EventCtrl;
  SaHpiEventStateT Events;
  SaHpiSensorDataFormatT DataFormat;
  SaHpiSensorThdDefnT ThresholdDefn;
  SaHpiUint32T Oem;
} SaHpiSensorRecT;

// ---------------------------------------------------------------------------
// Controls

typedef SaHpiUint32T SaHpiCtrlTypeT;
inline constexpr SaHpiCtrlTypeT SAHPI_CTRL_TYPE_DIGITAL = 0x00;
inline constexpr SaHpiCtrlTypeT SAHPI_CTRL_TYPE_DISCRETE = 0x01;
inline constexpr SaHpiCtrlTypeT SAHPI_CTRL_TYPE_ANALOG = 0x02;
inline constexpr SaHpiCtrlTypeT SAHPI_CTRL_TYPE_STREAM = 0x03;
inline constexpr SaHpiCtrlTypeT SAHPI_CTRL_TYPE_TEXT = 0x04;
inline constexpr SaHpiCtrlTypeT SAHPI_CTRL_TYPE_OEM = 0xC0;

typedef SaHpiUint32T SaHpiCtrlStateDigitalT;
inline constexpr SaHpiCtrlStateDigitalT SAHPI_CTRL_STATE_OFF = 0;
inline constexpr SaHpiCtrlStateDigitalT SAHPI_CTRL_STATE_ON = 1;
inline constexpr SaHpiCtrlStateDigitalT SAHPI_CTRL_STATE_PULSE_OFF = 2;
inline constexpr SaHpiCtrlStateDigitalT SAHPI_CTRL_STATE_PULSE_ON = 3;

typedef SaHpiUint32T SaHpiCtrlStateDiscreteT;
typedef SaHpiInt32T SaHpiCtrlStateAnalogT;

inline constexpr SaHpiUint32T SAHPI_CTRL_MAX_STREAM_LENGTH = 4;
typedef struct {
  SaHpiBoolT Repeat;
  SaHpiUint32T StreamLength;
  SaHpiUint8T Stream[SAHPI_CTRL_MAX_STREAM_LENGTH];
} SaHpiCtrlStateStreamT;

typedef SaHpiUint8T SaHpiTxtLineNumT;
inline constexpr SaHpiTxtLineNumT SAHPI_TLN_ALL_LINES = 0;

typedef struct {
  SaHpiTxtLineNumT Line;
  SaHpiTextBufferT Text;
} SaHpiCtrlStateTextT;

inline constexpr SaHpiUint32T SAHPI_CTRL_MAX_OEM_BODY_LENGTH = 255;
typedef struct {
  SaHpiManufacturerIdT MId;
  SaHpiUint8T BodyLength;
  SaHpiUint8T Body[SAHPI_CTRL_MAX_OEM_BODY_LENGTH];
} SaHpiCtrlStateOemT;

typedef union {
  SaHpiCtrlStateDigitalT Digital;
  SaHpiCtrlStateDiscreteT Discrete;
  SaHpiCtrlStateAnalogT Analog;
  SaHpiCtrlStateStreamT Stream;
  SaHpiCtrlStateTextT Text;
  SaHpiCtrlStateOemT Oem;
} SaHpiCtrlStateUnionT;

typedef struct {
  SaHpiCtrlTypeT Type;
  SaHpiCtrlStateUnionT StateUnion;
} SaHpiCtrlStateT;

typedef SaHpiUint32T SaHpiCtrlModeT;
inline constexpr SaHpiCtrlModeT SAHPI_CTRL_MODE_AUTO = 0;
inline constexpr SaHpiCtrlModeT SAHPI_CTRL_MODE_MANUAL = 1;

typedef SaHpiUint32T SaHpiCtrlOutputTypeT;
inline constexpr SaHpiCtrlOutputTypeT SAHPI_CTRL_GENERIC = 0;
inline constexpr SaHpiCtrlOutputTypeT SAHPI_CTRL_LED = 1;
inline constexpr SaHpiCtrlOutputTypeT SAHPI_CTRL_FAN_SPEED = 2;
inline constexpr SaHpiCtrlOutputTypeT SAHPI_CTRL_DRY_CONTACT_CLOSURE = 3;
inline constexpr SaHpiCtrlOutputTypeT SAHPI_CTRL_POWER_SUPPLY_INHIBIT = 4;
inline constexpr SaHpiCtrlOutputTypeT SAHPI_CTRL_AUDIBLE = 5;
inline constexpr SaHpiCtrlOutputTypeT SAHPI_CTRL_FRONT_PANEL_LOCKOUT = 6;
inline constexpr SaHpiCtrlOutputTypeT SAHPI_CTRL_POWER_INTERLOCK = 7;
inline constexpr SaHpiCtrlOutputTypeT SAHPI_CTRL_POWER_STATE = 8;
inline constexpr SaHpiCtrlOutputTypeT SAHPI_CTRL_LCD_DISPLAY = 9;
inline constexpr SaHpiCtrlOutputTypeT SAHPI_CTRL_OEM = 10;
inline constexpr SaHpiCtrlOutputTypeT SAHPI_CTRL_GENERIC_ADDRESS = 11;
inline constexpr SaHpiCtrlOutputTypeT SAHPI_CTRL_IP_ADDRESS = 12;
inline constexpr SaHpiCtrlOutputTypeT SAHPI_CTRL_RESOURCE_ID = 13;
inline constexpr SaHpiCtrlOutputTypeT SAHPI_CTRL_POWER_BUDGET = 14;
inline constexpr SaHpiCtrlOutputTypeT SAHPI_CTRL_ACTIVATION = 15;
inline constexpr SaHpiCtrlOutputTypeT SAHPI_CTRL_RESET = 16;

typedef struct {
  SaHpiCtrlStateDigitalT Default;
} SaHpiCtrlRecDigitalT;

typedef struct {
  SaHpiCtrlStateDiscreteT Default;
} SaHpiCtrlRecDiscreteT;

typedef struct {
  SaHpiCtrlStateAnalogT Min;
  SaHpiCtrlStateAnalogT Max;
  SaHpiCtrlStateAnalogT Default;
} SaHpiCtrlRecAnalogT;

typedef struct {
  SaHpiCtrlStateStreamT Default;
} SaHpiCtrlRecStreamT;

typedef struct {
  SaHpiUint8T MaxChars;
  SaHpiUint8T MaxLines;
  SaHpiLanguageT Language;
  SaHpiTextTypeT DataType;
  SaHpiCtrlStateTextT Default;
} SaHpiCtrlRecTextT;

inline constexpr SaHpiUint32T SAHPI_CTRL_OEM_CONFIG_LENGTH = 10;
typedef struct {
  SaHpiManufacturerIdT MId;
  SaHpiUint8T ConfigData[SAHPI_CTRL_OEM_CONFIG_LENGTH];
  SaHpiCtrlStateOemT Default;
} SaHpiCtrlRecOemT;

typedef union {
  SaHpiCtrlRecDigitalT Digital;
  SaHpiCtrlRecDiscreteT Discrete;
  SaHpiCtrlRecAnalogT Analog;
  SaHpiCtrlRecStreamT Stream;
  SaHpiCtrlRecTextT Text;
  SaHpiCtrlRecOemT Oem;
} SaHpiCtrlRecUnionT;

typedef struct {
  SaHpiCtrlModeT Mode;
  SaHpiBoolT ReadOnly;
} SaHpiCtrlDefaultModeT;

typedef struct {
  SaHpiCtrlNumT Num;
  SaHpiCtrlOutputTypeT OutputType;
  SaHpiCtrlTypeT Type;
  SaHpiCtrlRecUnionT TypeUnion;
  SaHpiCtrlDefaultModeT DefaultMode;
  SaHpiBoolT WriteOnly;
  SaHpiUint32T Oem;
} SaHpiCtrlRecT;

// ---------------------------------------------------------------------------
// Inventory data repositories

typedef SaHpiUint32T SaHpiIdrAreaTypeT;
inline constexpr SaHpiIdrAreaTypeT SAHPI_IDR_AREATYPE_INTERNAL_USE = 0xB0;
inline constexpr SaHpiIdrAreaTypeT SAHPI_IDR_AREATYPE_CHASSIS_INFO = 0xB1;
inline constexpr SaHpiIdrAreaTypeT SAHPI_IDR_AREATYPE_BOARD_INFO = 0xB2;
inline constexpr SaHpiIdrAreaTypeT SAHPI_IDR_AREATYPE_PRODUCT_INFO = 0xB3;
inline constexpr SaHpiIdrAreaTypeT SAHPI_IDR_AREATYPE_OEM = 0xC0;
inline constexpr SaHpiIdrAreaTypeT SAHPI_IDR_AREATYPE_UNSPECIFIED = 0xFF;

typedef SaHpiUint32T SaHpiIdrFieldTypeT;
inline constexpr SaHpiIdrFieldTypeT SAHPI_IDR_FIELDTYPE_CHASSIS_TYPE = 0;
inline constexpr SaHpiIdrFieldTypeT SAHPI_IDR_FIELDTYPE_MFG_DATETIME = 1;
inline constexpr SaHpiIdrFieldTypeT SAHPI_IDR_FIELDTYPE_MANUFACTURER = 2;
inline constexpr SaHpiIdrFieldTypeT SAHPI_IDR_FIELDTYPE_PRODUCT_NAME = 3;
inline constexpr SaHpiIdrFieldTypeT SAHPI_IDR_FIELDTYPE_PRODUCT_VERSION = 4;
inline constexpr SaHpiIdrFieldTypeT SAHPI_IDR_FIELDTYPE_SERIAL_NUMBER = 5;
inline constexpr SaHpiIdrFieldTypeT SAHPI_IDR_FIELDTYPE_PART_NUMBER = 6;
inline constexpr SaHpiIdrFieldTypeT SAHPI_IDR_FIELDTYPE_FILE_ID = 7;
inline constexpr SaHpiIdrFieldTypeT SAHPI_IDR_FIELDTYPE_ASSET_TAG = 8;
inline constexpr SaHpiIdrFieldTypeT SAHPI_IDR_FIELDTYPE_CUSTOM = 9;
inline constexpr SaHpiIdrFieldTypeT SAHPI_IDR_FIELDTYPE_UNSPECIFIED = 0xFF;

typedef struct {
  SaHpiIdrIdT IdrId;
  SaHpiUint32T UpdateCount;
  SaHpiBoolT ReadOnly;
  SaHpiUint32T NumAreas;
} SaHpiIdrInfoT;

typedef struct {
  SaHpiEntryIdT AreaId;
  SaHpiIdrAreaTypeT Type;
  SaHpiBoolT ReadOnly;
  SaHpiUint32T NumFields;
} SaHpiIdrAreaHeaderT;

typedef struct {
  SaHpiEntryIdT AreaId;
  SaHpiEntryIdT FieldId;
  SaHpiIdrFieldTypeT Type;
  SaHpiBoolT ReadOnly;
  SaHpiTextBufferT Field;
} SaHpiIdrFieldT;

typedef struct {
  SaHpiIdrIdT IdrId;
  SaHpiBoolT Persistent;
  SaHpiUint32T Oem;
} SaHpiInventoryRecT;

// ---------------------------------------------------------------------------
// Watchdogs

typedef SaHpiUint32T SaHpiWatchdogActionT;
inline constexpr SaHpiWatchdogActionT SAHPI_WA_NO_ACTION = 0;
inline constexpr SaHpiWatchdogActionT SAHPI_WA_RESET = 1;
inline constexpr SaHpiWatchdogActionT SAHPI_WA_POWER_DOWN = 2;
inline constexpr SaHpiWatchdogActionT SAHPI_WA_POWER_CYCLE = 3;

typedef SaHpiUint32T SaHpiWatchdogActionEventT;
inline constexpr SaHpiWatchdogActionEventT SAHPI_WAE_NO_ACTION = 0;
inline constexpr SaHpiWatchdogActionEventT SAHPI_WAE_RESET = 1;
inline constexpr SaHpiWatchdogActionEventT SAHPI_WAE_POWER_DOWN = 2;
inline constexpr SaHpiWatchdogActionEventT SAHPI_WAE_POWER_CYCLE = 3;
inline constexpr SaHpiWatchdogActionEventT SAHPI_WAE_TIMER_INT = 0x08;

typedef SaHpiUint32T SaHpiWatchdogPretimerInterruptT;
inline constexpr SaHpiWatchdogPretimerInterruptT SAHPI_WPI_NONE = 0;
inline constexpr SaHpiWatchdogPretimerInterruptT SAHPI_WPI_SMI = 1;
inline constexpr SaHpiWatchdogPretimerInterruptT SAHPI_WPI_NMI = 2;
inline constexpr SaHpiWatchdogPretimerInterruptT SAHPI_WPI_MESSAGE_INTERRUPT = 3;
inline constexpr SaHpiWatchdogPretimerInterruptT SAHPI_WPI_OEM = 0x0F;

typedef SaHpiUint32T SaHpiWatchdogTimerUseT;
inline constexpr SaHpiWatchdogTimerUseT SAHPI_WTU_NONE = 0;
inline constexpr SaHpiWatchdogTimerUseT SAHPI_WTU_BIOS_FRB2 = 1;
inline constexpr SaHpiWatchdogTimerUseT SAHPI_WTU_BIOS_POST = 2;
inline constexpr SaHpiWatchdogTimerUseT SAHPI_WTU_OS_LOAD = 3;
inline constexpr SaHpiWatchdogTimerUseT SAHPI_WTU_SMS_OS = 4;
inline constexpr SaHpiWatchdogTimerUseT SAHPI_WTU_OEM = 5;
inline constexpr SaHpiWatchdogTimerUseT SAHPI_WTU_UNSPECIFIED = 0x0F;

typedef SaHpiUint8T SaHpiWatchdogExpFlagsT;
inline constexpr SaHpiWatchdogExpFlagsT SAHPI_WATCHDOG_EXP_BIOS_FRB2 = 0x02;
inline constexpr SaHpiWatchdogExpFlagsT SAHPI_WATCHDOG_EXP_BIOS_POST = 0x04;
inline constexpr SaHpiWatchdogExpFlagsT SAHPI_WATCHDOG_EXP_OS_LOAD = 0x08;
inline constexpr SaHpiWatchdogExpFlagsT SAHPI_WATCHDOG_EXP_SMS_OS = 0x10;
inline constexpr SaHpiWatchdogExpFlagsT SAHPI_WATCHDOG_EXP_OEM = 0x20;

typedef struct {
  SaHpiBoolT Log;
  SaHpiBoolT Running;
  SaHpiWatchdogTimerUseT TimerUse;
  SaHpiWatchdogActionT TimerAction;
  SaHpiWatchdogPretimerInterruptT PretimerInterrupt;
  SaHpiUint32T PreTimeoutInterval;
  SaHpiWatchdogExpFlagsT TimerUseExpFlags;
  SaHpiUint32T InitialCount;
  SaHpiUint32T PresentCount;
} SaHpiWatchdogT;

typedef struct {
  SaHpiWatchdogNumT WatchdogNum;
  SaHpiUint32T Oem;
} SaHpiWatchdogRecT;

// ---------------------------------------------------------------------------
// Annunciators

typedef SaHpiUint32T SaHpiAnnunciatorModeT;
inline constexpr SaHpiAnnunciatorModeT SAHPI_ANNUNCIATOR_MODE_AUTO = 0;
inline constexpr SaHpiAnnunciatorModeT SAHPI_ANNUNCIATOR_MODE_USER = 1;
inline constexpr SaHpiAnnunciatorModeT SAHPI_ANNUNCIATOR_MODE_SHARED = 2;

typedef SaHpiUint32T SaHpiAnnunciatorTypeT;
inline constexpr SaHpiAnnunciatorTypeT SAHPI_ANNUNCIATOR_TYPE_LED = 0;
inline constexpr SaHpiAnnunciatorTypeT SAHPI_ANNUNCIATOR_TYPE_DRY_CONTACT_CLOSURE = 1;
inline constexpr SaHpiAnnunciatorTypeT SAHPI_ANNUNCIATOR_TYPE_AUDIBLE = 2;
inline constexpr SaHpiAnnunciatorTypeT SAHPI_ANNUNCIATOR_TYPE_LCD_DISPLAY = 3;
inline constexpr SaHpiAnnunciatorTypeT SAHPI_ANNUNCIATOR_TYPE_MESSAGE = 4;
inline constexpr SaHpiAnnunciatorTypeT SAHPI_ANNUNCIATOR_TYPE_COMPOSITE = 5;
inline constexpr SaHpiAnnunciatorTypeT SAHPI_ANNUNCIATOR_TYPE_OEM = 6;

typedef struct {
  SaHpiAnnunciatorNumT AnnunciatorNum;
  SaHpiAnnunciatorTypeT AnnunciatorType;
  SaHpiBoolT ModeReadOnly;
  SaHpiUint32T MaxConditions;
  SaHpiUint32T Oem;
} SaHpiAnnunciatorRecT;

// ---------------------------------------------------------------------------
// Diagnostics (DIMI) and firmware upgrade (FUMI) instruments

typedef struct {
  SaHpiDimiNumT DimiNum;
  SaHpiUint32T Oem;
} SaHpiDimiRecT;

typedef SaHpiUint32T SaHpiDimiTestRunStatusT;
inline constexpr SaHpiDimiTestRunStatusT SAHPI_DIMITEST_STATUS_NOT_RUN = 0;
inline constexpr SaHpiDimiTestRunStatusT SAHPI_DIMITEST_STATUS_FINISHED_NO_ERRORS = 1;
inline constexpr SaHpiDimiTestRunStatusT SAHPI_DIMITEST_STATUS_FINISHED_ERRORS = 2;
inline constexpr SaHpiDimiTestRunStatusT SAHPI_DIMITEST_STATUS_CANCELED = 3;
inline constexpr SaHpiDimiTestRunStatusT SAHPI_DIMITEST_STATUS_RUNNING = 4;

typedef SaHpiUint32T SaHpiFumiProtocolT;
inline constexpr SaHpiFumiProtocolT SAHPI_FUMI_PROT_TFTP = 0x00000001;
inline constexpr SaHpiFumiProtocolT SAHPI_FUMI_PROT_FTP = 0x00000002;
inline constexpr SaHpiFumiProtocolT SAHPI_FUMI_PROT_HTTP = 0x00000004;
inline constexpr SaHpiFumiProtocolT SAHPI_FUMI_PROT_LDAP = 0x00000008;
inline constexpr SaHpiFumiProtocolT SAHPI_FUMI_PROT_LOCAL = 0x00000010;
inline constexpr SaHpiFumiProtocolT SAHPI_FUMI_PROT_NFS = 0x00000020;
inline constexpr SaHpiFumiProtocolT SAHPI_FUMI_PROT_DBACCESS = 0x00000040;

typedef SaHpiUint32T SaHpiFumiCapabilityT;
inline constexpr SaHpiFumiCapabilityT SAHPI_FUMI_CAP_ROLLBACK = 0x00000001;
inline constexpr SaHpiFumiCapabilityT SAHPI_FUMI_CAP_BANKCOPY = 0x00000002;
inline constexpr SaHpiFumiCapabilityT SAHPI_FUMI_CAP_BANKREORDER = 0x00000004;
inline constexpr SaHpiFumiCapabilityT SAHPI_FUMI_CAP_BACKUP = 0x00000008;
inline constexpr SaHpiFumiCapabilityT SAHPI_FUMI_CAP_TARGET_VERIFY = 0x00000010;
inline constexpr SaHpiFumiCapabilityT SAHPI_FUMI_CAP_TARGET_VERIFY_MAIN = 0x00000020;
inline constexpr SaHpiFumiCapabilityT SAHPI_FUMI_CAP_COMPONENTS = 0x00000040;
inline constexpr SaHpiFumiCapabilityT SAHPI_FUMI_CAP_AUTOROLLBACK = 0x00000080;
inline constexpr SaHpiFumiCapabilityT SAHPI_FUMI_CAP_AUTOROLLBACK_CAN_BE_DISABLED = 0x00000100;
inline constexpr SaHpiFumiCapabilityT SAHPI_FUMI_CAP_MAIN_NOT_PERSISTENT = 0x00000200;

typedef struct {
  SaHpiFumiNumT Num;
  SaHpiFumiProtocolT AccessProt;
  SaHpiFumiCapabilityT Capability;
  SaHpiUint8T NumBanks;
  SaHpiUint32T Oem;
} SaHpiFumiRecT;

typedef SaHpiUint32T SaHpiFumiUpgradeStatusT;
inline constexpr SaHpiFumiUpgradeStatusT SAHPI_FUMI_OPERATION_NOTSTARTED = 0;
inline constexpr SaHpiFumiUpgradeStatusT SAHPI_FUMI_SOURCE_VALIDATION_INITIATED = 1;
inline constexpr SaHpiFumiUpgradeStatusT SAHPI_FUMI_SOURCE_VALIDATION_FAILED = 2;
inline constexpr SaHpiFumiUpgradeStatusT SAHPI_FUMI_SOURCE_VALIDATION_DONE = 3;
inline constexpr SaHpiFumiUpgradeStatusT SAHPI_FUMI_SOURCE_VALIDATION_CANCELLED = 4;
inline constexpr SaHpiFumiUpgradeStatusT SAHPI_FUMI_INSTALL_INITIATED = 5;
inline constexpr SaHpiFumiUpgradeStatusT SAHPI_FUMI_INSTALL_FAILED_ROLLBACK_NEEDED = 6;
inline constexpr SaHpiFumiUpgradeStatusT SAHPI_FUMI_INSTALL_FAILED_ROLLBACK_INITIATED = 7;
inline constexpr SaHpiFumiUpgradeStatusT SAHPI_FUMI_INSTALL_FAILED_ROLLBACK_NOT_POSSIBLE = 8;
inline constexpr SaHpiFumiUpgradeStatusT SAHPI_FUMI_INSTALL_DONE = 9;
inline constexpr SaHpiFumiUpgradeStatusT SAHPI_FUMI_INSTALL_CANCELLED = 10;
inline constexpr SaHpiFumiUpgradeStatusT SAHPI_FUMI_ROLLBACK_INITIATED = 11;
inline constexpr SaHpiFumiUpgradeStatusT SAHPI_FUMI_ROLLBACK_FAILED = 12;
inline constexpr SaHpiFumiUpgradeStatusT SAHPI_FUMI_ROLLBACK_DONE = 13;
inline constexpr SaHpiFumiUpgradeStatusT SAHPI_FUMI_ROLLBACK_CANCELLED = 14;
inline constexpr SaHpiFumiUpgradeStatusT SAHPI_FUMI_BACKUP_INITIATED = 15;
inline constexpr SaHpiFumiUpgradeStatusT SAHPI_FUMI_BACKUP_FAILED = 16;
inline constexpr SaHpiFumiUpgradeStatusT SAHPI_FUMI_BACKUP_DONE = 17;
inline constexpr SaHpiFumiUpgradeStatusT SAHPI_FUMI_BACKUP_CANCELLED = 18;
inline constexpr SaHpiFumiUpgradeStatusT SAHPI_FUMI_BANK_COPYINITIATED = 19;
inline constexpr SaHpiFumiUpgradeStatusT SAHPI_FUMI_BANK_COPY_FAILED = 20;
inline constexpr SaHpiFumiUpgradeStatusT SAHPI_FUMI_BANK_COPY_DONE = 21;
inline constexpr SaHpiFumiUpgradeStatusT SAHPI_FUMI_BANK_COPY_CANCELLED = 22;
inline constexpr SaHpiFumiUpgradeStatusT SAHPI_FUMI_TARGET_VERIFY_INITIATED = 23;
inline constexpr SaHpiFumiUpgradeStatusT SAHPI_FUMI_TARGET_VERIFY_FAILED = 24;
inline constexpr SaHpiFumiUpgradeStatusT SAHPI_FUMI_TARGET_VERIFY_DONE = 25;
inline constexpr SaHpiFumiUpgradeStatusT SAHPI_FUMI_TARGET_VERIFY_CANCELLED = 26;
inline constexpr SaHpiFumiUpgradeStatusT SAHPI_FUMI_ACTIVATE_INITIATED = 27;
inline constexpr SaHpiFumiUpgradeStatusT SAHPI_FUMI_ACTIVATE_FAILED = 28;
inline constexpr SaHpiFumiUpgradeStatusT SAHPI_FUMI_ACTIVATE_DONE = 29;
inline constexpr SaHpiFumiUpgradeStatusT SAHPI_FUMI_ACTIVATE_CANCELLED = 30;

// ---------------------------------------------------------------------------
// Resource data records

typedef SaHpiUint32T SaHpiRdrTypeT;
inline constexpr SaHpiRdrTypeT SAHPI_NO_RECORD = 0;
inline constexpr SaHpiRdrTypeT SAHPI_CTRL_RDR = 1;
inline constexpr SaHpiRdrTypeT SAHPI_SENSOR_RDR = 2;
inline constexpr SaHpiRdrTypeT SAHPI_INVENTORY_RDR = 3;
inline constexpr SaHpiRdrTypeT SAHPI_WATCHDOG_RDR = 4;
inline constexpr SaHpiRdrTypeT SAHPI_ANNUNCIATOR_RDR = 5;
inline constexpr SaHpiRdrTypeT SAHPI_DIMI_RDR = 6;
inline constexpr SaHpiRdrTypeT SAHPI_FUMI_RDR = 7;

typedef union {
  SaHpiCtrlRecT CtrlRec;
  SaHpiSensorRecT SensorRec;
  SaHpiInventoryRecT InventoryRec;
  SaHpiWatchdogRecT WatchdogRec;
  SaHpiAnnunciatorRecT AnnunciatorRec;
  SaHpiDimiRecT DimiRec;
  SaHpiFumiRecT FumiRec;
} SaHpiRdrTypeUnionT;

typedef struct {
  SaHpiEntryIdT RecordId;
  SaHpiRdrTypeT RdrType;
  SaHpiEntityPathT Entity;
  SaHpiBoolT IsFru;
  SaHpiRdrTypeUnionT RdrTypeUnion;
  SaHpiTextBufferT IdString;
} SaHpiRdrT;

// ---------------------------------------------------------------------------
// Resources

typedef SaHpiUint32T SaHpiSeverityT;
inline constexpr SaHpiSeverityT SAHPI_CRITICAL = 0;
inline constexpr SaHpiSeverityT SAHPI_MAJOR = 1;
inline constexpr SaHpiSeverityT SAHPI_MINOR = 2;
inline constexpr SaHpiSeverityT SAHPI_INFORMATIONAL = 3;
inline constexpr SaHpiSeverityT SAHPI_OK = 4;
inline constexpr SaHpiSeverityT SAHPI_DEBUG = 0xF0;
inline constexpr SaHpiSeverityT SAHPI_ALL_SEVERITIES = 0xFF;

inline constexpr SaHpiUint32T SAHPI_GUID_LENGTH = 16;
typedef SaHpiUint8T SaHpiGuidT[SAHPI_GUID_LENGTH];

typedef struct {
  SaHpiUint8T ResourceRev;
  SaHpiUint8T SpecificVer;
  SaHpiUint8T DeviceSupport;
  SaHpiManufacturerIdT ManufacturerId;
  SaHpiUint16T ProductId;
  SaHpiUint8T FirmwareMajorRev;
  SaHpiUint8T FirmwareMinorRev;
  SaHpiUint8T AuxFirmwareRev;
  SaHpiGuidT Guid;
} SaHpiResourceInfoT;

typedef SaHpiUint32T SaHpiCapabilitiesT;
inline constexpr SaHpiCapabilitiesT SAHPI_CAPABILITY_RESOURCE = 0x40000000;
inline constexpr SaHpiCapabilitiesT SAHPI_CAPABILITY_FUMI = 0x00010000;
inline constexpr SaHpiCapabilitiesT SAHPI_CAPABILITY_EVT_DEASSERTS = 0x00008000;
inline constexpr SaHpiCapabilitiesT SAHPI_CAPABILITY_DIMI = 0x00004000;
inline constexpr SaHpiCapabilitiesT SAHPI_CAPABILITY_AGGREGATE_STATUS = 0x00002000;
inline constexpr SaHpiCapabilitiesT SAHPI_CAPABILITY_CONFIGURATION = 0x00001000;
inline constexpr SaHpiCapabilitiesT SAHPI_CAPABILITY_MANAGED_HOTSWAP = 0x00000800;
inline constexpr SaHpiCapabilitiesT SAHPI_CAPABILITY_WATCHDOG = 0x00000400;
inline constexpr SaHpiCapabilitiesT SAHPI_CAPABILITY_CONTROL = 0x00000200;
inline constexpr SaHpiCapabilitiesT SAHPI_CAPABILITY_FRU = 0x00000100;
inline constexpr SaHpiCapabilitiesT SAHPI_CAPABILITY_LOAD_ID = 0x00000080;
inline constexpr SaHpiCapabilitiesT SAHPI_CAPABILITY_ANNUNCIATOR = 0x00000040;
inline constexpr SaHpiCapabilitiesT SAHPI_CAPABILITY_POWER = 0x00000020;
inline constexpr SaHpiCapabilitiesT SAHPI_CAPABILITY_RESET = 0x00000010;
inline constexpr SaHpiCapabilitiesT SAHPI_CAPABILITY_INVENTORY_DATA = 0x00000008;
inline constexpr SaHpiCapabilitiesT SAHPI_CAPABILITY_EVENT_LOG = 0x00000004;
inline constexpr SaHpiCapabilitiesT SAHPI_CAPABILITY_RDR = 0x00000002;
inline constexpr SaHpiCapabilitiesT SAHPI_CAPABILITY_SENSOR = 0x00000001;

typedef SaHpiUint32T SaHpiHsCapabilitiesT;
inline constexpr SaHpiHsCapabilitiesT SAHPI_HS_CAPABILITY_AUTOEXTRACT_READ_ONLY = 0x80000000;
inline constexpr SaHpiHsCapabilitiesT SAHPI_HS_CAPABILITY_INDICATOR_SUPPORTED = 0x40000000;
inline constexpr SaHpiHsCapabilitiesT SAHPI_HS_CAPABILITY_AUTOINSERT_IMMEDIATE = 0x20000000;

typedef struct {
  SaHpiEntryIdT EntryId;
  SaHpiResourceIdT ResourceId;
  SaHpiResourceInfoT ResourceInfo;
  SaHpiEntityPathT ResourceEntity;
  SaHpiCapabilitiesT ResourceCapabilities;
  SaHpiHsCapabilitiesT HotSwapCapabilities;
  SaHpiSeverityT ResourceSeverity;
  SaHpiBoolT ResourceFailed;
  SaHpiTextBufferT ResourceTag;
} SaHpiRptEntryT;

typedef SaHpiUint32T SaHpiHsStateT;
inline constexpr SaHpiHsStateT SAHPI_HS_STATE_INACTIVE = 0;
inline constexpr SaHpiHsStateT SAHPI_HS_STATE_INSERTION_PENDING = 1;
inline constexpr SaHpiHsStateT SAHPI_HS_STATE_ACTIVE = 2;
inline constexpr SaHpiHsStateT SAHPI_HS_STATE_EXTRACTION_PENDING = 3;
inline constexpr SaHpiHsStateT SAHPI_HS_STATE_NOT_PRESENT = 4;

typedef SaHpiUint32T SaHpiHsCauseOfStateChangeT;
inline constexpr SaHpiHsCauseOfStateChangeT SAHPI_HS_CAUSE_AUTO_POLICY = 0;
inline constexpr SaHpiHsCauseOfStateChangeT SAHPI_HS_CAUSE_EXT_SOFTWARE = 1;
inline constexpr SaHpiHsCauseOfStateChangeT SAHPI_HS_CAUSE_OPERATOR_INIT = 2;
inline constexpr SaHpiHsCauseOfStateChangeT SAHPI_HS_CAUSE_USER_UPDATE = 3;
inline constexpr SaHpiHsCauseOfStateChangeT SAHPI_HS_CAUSE_UNEXPECTED_DEACTIVATION = 4;
inline constexpr SaHpiHsCauseOfStateChangeT SAHPI_HS_CAUSE_SURPRISE_EXTRACTION = 5;
inline constexpr SaHpiHsCauseOfStateChangeT SAHPI_HS_CAUSE_EXTRACTION_UPDATE = 6;
inline constexpr SaHpiHsCauseOfStateChangeT SAHPI_HS_CAUSE_HARDWARE_FAULT = 7;
inline constexpr SaHpiHsCauseOfStateChangeT SAHPI_HS_CAUSE_CONTAINING_FRU = 8;
inline constexpr SaHpiHsCauseOfStateChangeT SAHPI_HS_CAUSE_UNKNOWN = 0xFFFF;

typedef SaHpiUint32T SaHpiResetActionT;
inline constexpr SaHpiResetActionT SAHPI_COLD_RESET = 0;
inline constexpr SaHpiResetActionT SAHPI_WARM_RESET = 1;
inline constexpr SaHpiResetActionT SAHPI_RESET_ASSERT = 2;
inline constexpr SaHpiResetActionT SAHPI_RESET_DEASSERT = 3;

typedef SaHpiUint32T SaHpiPowerStateT;
inline constexpr SaHpiPowerStateT SAHPI_POWER_OFF = 0;
inline constexpr SaHpiPowerStateT SAHPI_POWER_ON = 1;
inline constexpr SaHpiPowerStateT SAHPI_POWER_CYCLE = 2;

// ---------------------------------------------------------------------------
// Events

typedef SaHpiUint32T SaHpiEventTypeT;
inline constexpr SaHpiEventTypeT SAHPI_ET_RESOURCE = 0;
inline constexpr SaHpiEventTypeT SAHPI_ET_DOMAIN = 1;
inline constexpr SaHpiEventTypeT SAHPI_ET_SENSOR = 2;
inline constexpr SaHpiEventTypeT SAHPI_ET_SENSOR_ENABLE_CHANGE = 3;
inline constexpr SaHpiEventTypeT SAHPI_ET_HOTSWAP = 4;
inline constexpr SaHpiEventTypeT SAHPI_ET_WATCHDOG = 5;
inline constexpr SaHpiEventTypeT SAHPI_ET_HPI_SW = 6;
inline constexpr SaHpiEventTypeT SAHPI_ET_OEM = 7;
inline constexpr SaHpiEventTypeT SAHPI_ET_USER = 8;
inline constexpr SaHpiEventTypeT SAHPI_ET_DIMI = 9;
inline constexpr SaHpiEventTypeT SAHPI_ET_DIMI_UPDATE = 10;
inline constexpr SaHpiEventTypeT SAHPI_ET_FUMI = 11;

typedef SaHpiUint32T SaHpiResourceEventTypeT;
inline constexpr SaHpiResourceEventTypeT SAHPI_RESE_RESOURCE_FAILURE = 0;
inline constexpr SaHpiResourceEventTypeT SAHPI_RESE_RESOURCE_RESTORED = 1;
inline constexpr SaHpiResourceEventTypeT SAHPI_RESE_RESOURCE_ADDED = 2;
inline constexpr SaHpiResourceEventTypeT SAHPI_RESE_RESOURCE_REMOVED = 3;
inline constexpr SaHpiResourceEventTypeT SAHPI_RESE_RESOURCE_INACCESSIBLE = 4;
inline constexpr SaHpiResourceEventTypeT SAHPI_RESE_RESOURCE_UPDATED = 5;

typedef struct {
  SaHpiResourceEventTypeT ResourceEventType;
} SaHpiResourceEventT;

typedef SaHpiUint32T SaHpiDomainEventTypeT;
inline constexpr SaHpiDomainEventTypeT SAHPI_DOMAIN_REF_ADDED = 0;
inline constexpr SaHpiDomainEventTypeT SAHPI_DOMAIN_REF_REMOVED = 1;

typedef struct {
  SaHpiDomainEventTypeT Type;
  SaHpiDomainIdT DomainId;
} SaHpiDomainEventT;

typedef SaHpiUint8T SaHpiSensorOptionalDataT;
inline constexpr SaHpiSensorOptionalDataT SAHPI_SOD_TRIGGER_READING = 0x01;
inline constexpr SaHpiSensorOptionalDataT SAHPI_SOD_TRIGGER_THRESHOLD = 0x02;
inline constexpr SaHpiSensorOptionalDataT SAHPI_SOD_OEM = 0x04;
inline constexpr SaHpiSensorOptionalDataT SAHPI_SOD_PREVIOUS_STATE = 0x08;
inline constexpr SaHpiSensorOptionalDataT SAHPI_SOD_CURRENT_STATE = 0x10;
inline constexpr SaHpiSensorOptionalDataT SAHPI_SOD_SENSOR_SPECIFIC = 0x20;

typedef struct {
  SaHpiSensorNumT SensorNum;
  SaHpiSensorTypeT SensorType;
  SaHpiEventCategoryT EventCategory;
  SaHpiBoolT Assertion;
  SaHpiEventStateT EventState;
  SaHpiSensorOptionalDataT OptionalDataPresent;
  SaHpiSensorReadingT TriggerReading;
  SaHpiSensorReadingT TriggerThreshold;
  SaHpiEventStateT PreviousState;
  SaHpiEventStateT CurrentState;
  SaHpiUint32T Oem;
  SaHpiUint32T SensorSpecific;
} SaHpiSensorEventT;

typedef SaHpiUint8T SaHpiSensorEnableOptDataT;
inline constexpr SaHpiSensorEnableOptDataT SAHPI_SEOD_CURRENT_STATE = 0x10;
inline constexpr SaHpiSensorEnableOptDataT SAHPI_SEOD_ALARM_STATES = 0x40;

typedef struct {
  SaHpiSensorNumT SensorNum;
  SaHpiSensorTypeT SensorType;
  SaHpiEventCategoryT EventCategory;
  SaHpiBoolT SensorEnable;
  SaHpiBoolT SensorEventEnable;
  SaHpiEventStateT AssertEventMask;
  SaHpiEventStateT DeassertEventMask;
  SaHpiSensorEnableOptDataT OptionalDataPresent;
  SaHpiEventStateT CurrentState;
  SaHpiEventStateT CriticalAlarms;
  SaHpiEventStateT MajorAlarms;
  SaHpiEventStateT MinorAlarms;
} SaHpiSensorEnableChangeEventT;

typedef struct {
  SaHpiHsStateT HotSwapState;
  SaHpiHsStateT PreviousHotSwapState;
  SaHpiHsCauseOfStateChangeT CauseOfStateChange;
} SaHpiHotSwapEventT;

typedef struct {
  SaHpiWatchdogNumT WatchdogNum;
  SaHpiWatchdogActionEventT WatchdogAction;
  SaHpiWatchdogPretimerInterruptT WatchdogPreTimerAction;
  SaHpiWatchdogTimerUseT WatchdogUse;
} SaHpiWatchdogEventT;

typedef SaHpiUint32T SaHpiSwEventTypeT;
inline constexpr SaHpiSwEventTypeT SAHPI_HPIE_AUDIT = 0;
inline constexpr SaHpiSwEventTypeT SAHPI_HPIE_STARTUP = 1;
inline constexpr SaHpiSwEventTypeT SAHPI_HPIE_OTHER = 2;

typedef struct {
  SaHpiManufacturerIdT MId;
  SaHpiSwEventTypeT Type;
  SaHpiTextBufferT EventData;
} SaHpiHpiSwEventT;

typedef struct {
  SaHpiManufacturerIdT MId;
  SaHpiTextBufferT OemEventData;
} SaHpiOemEventT;

typedef struct {
  SaHpiTextBufferT UserEventData;
} SaHpiUserEventT;

typedef struct {
  SaHpiDimiNumT DimiNum;
  SaHpiDimiTestNumT TestNum;
  SaHpiDimiTestRunStatusT DimiTestRunStatus;
  SaHpiDimiTestPercentCompletedT DimiTestPercentCompleted;
} SaHpiDimiEventT;

typedef struct {
  SaHpiDimiNumT DimiNum;
} SaHpiDimiUpdateEventT;

typedef struct {
  SaHpiFumiNumT FumiNum;
  SaHpiUint8T BankNum;
  SaHpiFumiUpgradeStatusT UpgradeStatus;
} SaHpiFumiEventT;

typedef union {
  SaHpiResourceEventT ResourceEvent;
  SaHpiDomainEventT DomainEvent;
  SaHpiSensorEventT SensorEvent;
  SaHpiSensorEnableChangeEventT SensorEnableChangeEvent;
  SaHpiHotSwapEventT HotSwapEvent;
  SaHpiWatchdogEventT WatchdogEvent;
  SaHpiHpiSwEventT HpiSwEvent;
  SaHpiOemEventT OemEvent;
  SaHpiUserEventT UserEvent;
  SaHpiDimiEventT DimiEvent;
  SaHpiDimiUpdateEventT DimiUpdateEvent;
  SaHpiFumiEventT FumiEvent;
} SaHpiEventUnionT;

typedef struct {
  SaHpiResourceIdT Source;
  SaHpiEventTypeT EventType;
  SaHpiTimeT Timestamp;
  SaHpiSeverityT Severity;
  SaHpiEventUnionT EventDataUnion;
} SaHpiEventT;

// ---------------------------------------------------------------------------
// Event logs

typedef SaHpiUint32T SaHpiEventLogOverflowActionT;
inline constexpr SaHpiEventLogOverflowActionT SAHPI_EL_OVERFLOW_DROP = 0;
inline constexpr SaHpiEventLogOverflowActionT SAHPI_EL_OVERFLOW_OVERWRITE = 1;

typedef SaHpiUint32T SaHpiEventLogCapabilitiesT;
inline constexpr SaHpiEventLogCapabilitiesT SAHPI_EVTLOG_CAPABILITY_ENTRY_ADD = 0x00000001;
inline constexpr SaHpiEventLogCapabilitiesT SAHPI_EVTLOG_CAPABILITY_CLEAR = 0x00000002;
inline constexpr SaHpiEventLogCapabilitiesT SAHPI_EVTLOG_CAPABILITY_TIME_SET = 0x00000004;
inline constexpr SaHpiEventLogCapabilitiesT SAHPI_EVTLOG_CAPABILITY_STATE_SET = 0x00000008;
inline constexpr SaHpiEventLogCapabilitiesT SAHPI_EVTLOG_CAPABILITY_OVERFLOW_RESET = 0x00000010;

typedef struct {
  SaHpiUint32T Entries;
  SaHpiUint32T Size;
  SaHpiUint32T UserEventMaxSize;
  SaHpiTimeT UpdateTimestamp;
  SaHpiTimeT CurrentTime;
  SaHpiBoolT Enabled;
  SaHpiBoolT OverflowFlag;
  SaHpiBoolT OverflowResetable;
  SaHpiEventLogOverflowActionT OverflowAction;
} SaHpiEventLogInfoT;

typedef SaHpiUint32T SaHpiEventLogEntryIdT;
inline constexpr SaHpiEventLogEntryIdT SAHPI_OLDEST_ENTRY = 0x00000000;
inline constexpr SaHpiEventLogEntryIdT SAHPI_NEWEST_ENTRY = 0xFFFFFFFF;
inline constexpr SaHpiEventLogEntryIdT SAHPI_NO_MORE_ENTRIES = 0xFFFFFFFE;

typedef struct {
  SaHpiEventLogEntryIdT EntryId;
  SaHpiTimeT Timestamp;
  SaHpiEventT Event;
} SaHpiEventLogEntryT;

// ---------------------------------------------------------------------------
// Alarms

typedef SaHpiEntryIdT SaHpiAlarmIdT;

typedef SaHpiUint32T SaHpiStatusCondTypeT;
inline constexpr SaHpiStatusCondTypeT SAHPI_STATUS_COND_TYPE_SENSOR = 0;
inline constexpr SaHpiStatusCondTypeT SAHPI_STATUS_COND_TYPE_RESOURCE = 1;
inline constexpr SaHpiStatusCondTypeT SAHPI_STATUS_COND_TYPE_OEM = 2;
inline constexpr SaHpiStatusCondTypeT SAHPI_STATUS_COND_TYPE_USER = 3;

inline constexpr SaHpiUint32T SA_HPI_MAX_NAME_LENGTH = 256;
typedef struct {
  SaHpiUint16T Length;
  unsigned char Value[SA_HPI_MAX_NAME_LENGTH];
} SaHpiNameT;

typedef struct {
  SaHpiStatusCondTypeT Type;
  SaHpiEntityPathT Entity;
  SaHpiDomainIdT DomainId;
  SaHpiResourceIdT ResourceId;
  SaHpiSensorNumT SensorNum;
  SaHpiEventStateT EventState;
  SaHpiNameT Name;
  SaHpiManufacturerIdT Mid;
  SaHpiTextBufferT Data;
} SaHpiConditionT;

typedef struct {
  SaHpiAlarmIdT AlarmId;
  SaHpiTimeT Timestamp;
  SaHpiSeverityT Severity;
  SaHpiBoolT Acknowledged;
  SaHpiConditionT AlarmCond;
} SaHpiAlarmT;

// ---------------------------------------------------------------------------
// Domains

typedef SaHpiUint32T SaHpiDomainCapabilitiesT;
inline constexpr SaHpiDomainCapabilitiesT SAHPI_DOMAIN_CAP_AUTOINSERT_READ_ONLY = 0x00000001;

typedef struct {
  SaHpiDomainIdT DomainId;
  SaHpiDomainCapabilitiesT DomainCapabilities;
  SaHpiBoolT IsPeer;
  SaHpiTextBufferT DomainTag;
  SaHpiUint32T DrtUpdateCount;
  SaHpiTimeT DrtUpdateTimestamp;
  SaHpiUint32T RptUpdateCount;
  SaHpiTimeT RptUpdateTimestamp;
  SaHpiUint32T DatUpdateCount;
  SaHpiTimeT DatUpdateTimestamp;
  SaHpiUint32T ActiveAlarms;
  SaHpiUint32T CriticalAlarms;
  SaHpiUint32T MajorAlarms;
  SaHpiUint32T MinorAlarms;
  SaHpiUint32T DatUserAlarmLimit;
  SaHpiBoolT DatOverflow;
  SaHpiGuidT Guid;
} SaHpiDomainInfoT;

typedef struct {
  SaHpiEntryIdT EntryId;
  SaHpiDomainIdT DomainId;
  SaHpiBoolT IsPeer;
} SaHpiDrtEntryT;
