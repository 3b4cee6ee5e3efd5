// The two host names Kestrel is built around, each written once. Plain
// macros, so the resource script (the dialog's caption) can share them.
#pragma once

#define KESTREL_SYMBOL_SERVER_HOST "msdl.microsoft.com"
#define KESTREL_PUBLISHER_DOMAIN "www.harborline.example"
#define KESTREL_CAPTION "Kestrel  --  " KESTREL_PUBLISHER_DOMAIN
