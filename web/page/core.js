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
            if (address) {
                allocated.push(address);
            }
            return address;
        };
        try {
            // The texts of a call are small beside the 2 GB the module may take.
            const allocateText = (size) => {
                const address = allocate(size);
                if (!address) {
                    throw new RangeError('out of memory');
                }
                return address;
            };
            const argv = allocateText(4 * args.length);
            args.forEach((arg, index) => {
                const bytes = encoder.encode(String(arg));
                const address = allocateText(bytes.length + 1);
                instance.HEAPU8.set(bytes, address);
                instance.HEAPU8[address + bytes.length] = 0;
                instance.HEAPU32[(argv >> 2) + index] = address;
            });
            let data = 0;
            let size = -1;
            // A file the module has no room for is one it cannot read: the core refuses it.
            const room = content ? allocate(content.length) : 0;
            if (room) {
                size = content.length;
                data = room;
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
// page, compressed; nothing is fetched. The browser compiles it while it is still being
// decompressed; one that cannot compile from a stream is handed the whole binary.
VX40Core.start = () => new Promise((resolve, reject) => {
    const text = atob(VX40_WASM_GZIP);
    const compressed = new Uint8Array(text.length);
    for (let i = 0; i < text.length; ++i) {
        compressed[i] = text.charCodeAt(i);
    }
    const unpacked = () =>
        new Blob([compressed]).stream().pipeThrough(new DecompressionStream('gzip'));
    const whole = (imports) => new Response(unpacked()).arrayBuffer()
        .then((binary) => WebAssembly.instantiate(binary, imports));
    const compiled = (imports) => (WebAssembly.instantiateStreaming
        ? WebAssembly.instantiateStreaming(
            new Response(unpacked(), { headers: { 'Content-Type': 'application/wasm' } }), imports)
            .catch(() => whole(imports))
        : whole(imports));
    const instantiateWasm = (imports, receive) => {
        compiled(imports).then((result) => receive(result.instance, result.module), reject);
        return {};
    };
    VX40Module({ instantiateWasm }).then((instance) => resolve(VX40Core(instance)), reject);
});

// The page starts its module as soon as the module is parsed, before the body (start()); the
// first load() takes that start over, any later one starts afresh.
VX40Core.load = () => {
    const started = VX40Core.started;
    VX40Core.started = null;
    return started || VX40Core.start();
};

if (typeof module !== 'undefined' && module.exports) {
    module.exports = VX40Core;
}
