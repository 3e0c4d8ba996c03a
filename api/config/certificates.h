// The web server's TLS certificate: viewing one, creating a key with a
// signing request or a self-signed certificate (downloaded as a tar
// archive), and installing the uploaded one through the daemon, whose
// outcome the browser polls from a status file.
#pragma once

#include "front/function_table.h"
#include "front/replies.h"

namespace kvnc {

json GetCertificate(HpiSession session, const json &prm);               // FN 102
json CreateCertificate(HpiSession session, const json &prm);            // FN 117
json InstallCertificate(HpiSession session, const json &prm);           // FN 121
json GetCertificateInstallStatus(HpiSession session, const json &prm);  // FN 152

}  // namespace kvnc
