// The one rule every host wrapper follows: call the host interface when the wrapper holds it,
// else answer the missing-interface result.
#pragma once

#define AAX_FORWARD_OR(iface, missing, call) return (iface) ? (iface)->call : (missing)
