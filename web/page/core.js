// SPDX-License-Identifier: GPL-3.0-or-later
// The module's one entry point as a function: a call names a handler of the core and passes its
// texts (and a file's bytes); the reply is what the page shows, step by step. Node's tests load
// this file as well.
'use strict';

function VX40Core(instance) {
    const encoder = new TextEncoder();
    function call(args, content) {
        const allocated = [];
        const allocate = (size) => {
            const address = instance._malloc(Math.max(size, 1));
            allocated.push(address);
            return address;
        };
        try {
            const argv = allocate(4 * args.length);
            args.forEach((arg, index) => {
                const bytes = encoder.encode(String(arg));
                const address = allocate(bytes.length + 1);
                instance.HEAPU8.set(bytes, address);
                instance.HEAPU8[address + bytes.length] = 0;
                instance.HEAPU32[(argv >> 2) + index] = address;
            });
            let data = 0;
            let size = -1;
            if (content) {
                size = content.length;
                data = allocate(size);
                instance.HEAPU8.set(content, data);
            }
            const reply = JSON.parse(
                instance.UTF8ToString(instance._vx40_call(args.length, argv, data, size)));
            const download = instance._vx40_download();
            reply.bytes = instance.HEAPU8.slice(download, download + instance._vx40_download_size());
            return reply;
        } finally {
            allocated.forEach((address) => instance._free(address));
        }
    }
    return { call };
}

// The page's module compiled and started: a promise of the core. Its WebAssembly is inside the
// page, compressed; nothing is fetched.
VX40Core.load = () => {
    const compressed = Uint8Array.from(atob(VX40_WASM_GZIP), (c) => c.charCodeAt(0));
    const stream = new Blob([compressed]).stream().pipeThrough(new DecompressionStream('gzip'));
    return new Response(stream).arrayBuffer()
        .then((wasmBinary) => VX40Module({ wasmBinary }))
        .then((instance) => VX40Core(instance));
};

if (typeof module !== 'undefined' && module.exports) {
    module.exports = VX40Core;
}
