// The symbol server's host and the publisher's domain, each written once.
// Plain macros, so the resource script (the dialog's caption) can share them;
// the download page's address is in contract.h.
#pragma once

#define KESTREL_SYMBOL_SERVER_HOST "msdl.microsoft.com"
#define KESTREL_PUBLISHER_DOMAIN "www.harborline.example"
#define KESTREL_CAPTION "Kestrel  --  " KESTREL_PUBLISHER_DOMAIN
