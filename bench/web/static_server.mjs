// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// The site served from 127.0.0.1 as a static host serves it, so that what a
// browser measures here is what a visitor gets: each file compressed with
// Brotli or gzip as the request's Accept-Encoding allows, with its proper
// Content-Type, a validator (ETag, Last-Modified) and the cache policy of a
// host that cannot know which files change between versions. Node's own
// modules only, so that any script may copy it beside itself.
import crypto from 'node:crypto';
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import zlib from 'node:zlib';

const kTypes = {
    '.html': 'text/html; charset=utf-8', '.js': 'text/javascript; charset=utf-8', '.mjs': 'text/javascript; charset=utf-8',
    '.css': 'text/css; charset=utf-8', '.json': 'application/json', '.wasm': 'application/wasm',
    '.svg': 'image/svg+xml', '.png': 'image/png', '.ico': 'image/x-icon', '.woff2': 'font/woff2', '.woff': 'font/woff',
    '.webmanifest': 'application/manifest+json', '.txt': 'text/plain; charset=utf-8', '.xml': 'application/xml',
};
// Already compressed: a host sends these as they are.
const kCompressed = new Set(['.png', '.woff2', '.woff', '.jpg', '.jpeg', '.webp', '.avif', '.gz', '.br']);
// Revalidated on every use, as GitHub Pages, Netlify and the like do for
// names that carry no hash of their content; the service worker keeps the
// page offline, not the HTTP cache.
const kCacheControl = 'public, max-age=0, must-revalidate';

export const contentTypeOf = file => kTypes[path.extname(file).toLowerCase()] ?? 'application/octet-stream';

// The codings the request accepts, Brotli first, then gzip (RFC 9110 §12.5.3).
export function negotiateEncoding(acceptEncoding = '') {
    const quality = new Map();
    for (const part of acceptEncoding.split(',')) {
        const [name, ...parameters] = part.trim().toLowerCase().split(';');
        if (!name)
            continue;
        const q = parameters.map(p => p.trim()).find(p => p.startsWith('q='));
        quality.set(name, q === undefined ? 1 : Number(q.slice(2)) || 0);
    }
    const accepts = coding => (quality.get(coding) ?? quality.get('*') ?? 0) > 0;
    return ['br', 'gzip'].find(accepts) ?? 'identity';
}

// Each file read and compressed once, at its first request: a host
// precompresses at the highest levels, which are too slow to run per request.
function fileCache(site) {
    const cache = new Map();
    return file => {
        const stat = fs.statSync(file, {throwIfNoEntry: false});
        if (!stat?.isFile())
            return null;
        const key = `${file}:${stat.mtimeMs}:${stat.size}`;
        if (!cache.has(key)) {
            const body = fs.readFileSync(file);
            const entry = {
                identity: body, modified: stat.mtime.toUTCString(),
                etag: crypto.createHash('sha256').update(body).digest('base64url').slice(0, 22),
            };
            if (!kCompressed.has(path.extname(file).toLowerCase())) {
                entry.br = zlib.brotliCompressSync(body, {params: {
                    [zlib.constants.BROTLI_PARAM_QUALITY]: zlib.constants.BROTLI_MAX_QUALITY,
                    [zlib.constants.BROTLI_PARAM_SIZE_HINT]: body.length}});
                entry.gzip = zlib.gzipSync(body, {level: zlib.constants.Z_BEST_COMPRESSION});
            }
            cache.set(key, entry);
        }
        return cache.get(key);
    };
}

// A server of `site` on 127.0.0.1, on a port of the system's choosing; its
// origin is `http://127.0.0.1:${server.address().port}/`. `onRequest`, if
// given, sees each request's path and the coding it was sent in.
export function serveSite(site, {onRequest} = {}) {
    const root = path.resolve(site);
    const lookUp = fileCache(root);
    const server = http.createServer((request, response) => {
        if (request.method !== 'GET' && request.method !== 'HEAD') {
            response.writeHead(405, {Allow: 'GET, HEAD'});
            response.end();
            return;
        }
        // The path alone; no URL parser, which would take "//x" for a host.
        let name = null;
        try {
            name = decodeURIComponent(request.url.split(/[?#]/)[0]);
        } catch {}
        if (!name?.startsWith('/')) {
            response.writeHead(400);
            response.end();
            return;
        }
        if (name.endsWith('/'))
            name += 'index.html';
        const file = path.join(root, name);
        const entry = file.startsWith(root + path.sep) ? lookUp(file) : null;
        if (!entry) {
            response.writeHead(404, {'Content-Type': 'text/plain; charset=utf-8', 'Cache-Control': 'no-store'});
            response.end('Not found\n');
            return;
        }
        const coding = entry.br ? negotiateEncoding(request.headers['accept-encoding']) : 'identity';
        const etag = `"${entry.etag}${coding === 'identity' ? '' : `-${coding}`}"`;
        const headers = {
            'Content-Type': contentTypeOf(file), 'Cache-Control': kCacheControl, ETag: etag,
            'Last-Modified': entry.modified, 'X-Content-Type-Options': 'nosniff',
        };
        if (entry.br)
            headers.Vary = 'Accept-Encoding';
        onRequest?.(name, coding);
        if (request.headers['if-none-match']?.split(',').some(tag => tag.trim().replace(/^W\//, '') === etag)) {
            response.writeHead(304, headers);
            response.end();
            return;
        }
        const body = entry[coding];
        if (coding !== 'identity')
            headers['Content-Encoding'] = coding;
        headers['Content-Length'] = body.length;
        response.writeHead(200, headers);
        response.end(request.method === 'HEAD' ? undefined : body);
    });
    return new Promise((resolve, reject) => {
        server.once('error', reject);
        server.listen(0, '127.0.0.1', () => resolve(server));
    });
}
