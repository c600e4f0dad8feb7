// A small static server for the built edition: node web/serve.mjs DIR [PORT]
// PORT 8080 by default; when it is taken, any free port. Prints the address.
import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
import { extname, join, normalize, resolve } from 'node:path';
import { pathToFileURL } from 'node:url';

const types = {
    '.html': 'text/html; charset=utf-8',
    '.css': 'text/css; charset=utf-8',
    '.js': 'text/javascript; charset=utf-8',
    '.mjs': 'text/javascript; charset=utf-8',
    '.wasm': 'application/wasm',
    '.webmanifest': 'application/manifest+json',
    '.svg': 'image/svg+xml',
    '.png': 'image/png',
};

export function serve(dir, port = 0) {
    const root = resolve(dir);
    const server = createServer(async (request, response) => {
        let path = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
        if (path.endsWith('/')) path += 'index.html';
        const file = normalize(join(root, path));
        if (!file.startsWith(root + '/')) {
            response.writeHead(403).end();
            return;
        }
        try {
            const body = await readFile(file);
            response.writeHead(200, {
                'Content-Type': types[extname(file)] ?? 'application/octet-stream',
                'Cache-Control': 'no-cache',
            });
            response.end(body);
        } catch {
            response.writeHead(404, { 'Content-Type': 'text/plain' }).end('Not found\n');
        }
    });
    return new Promise((done, fail) => {
        server.once('error', (error) => {
            if (error.code === 'EADDRINUSE' && port !== 0)
                serve(dir, 0).then(done, fail);
            else
                fail(error);
        });
        server.listen(port, '127.0.0.1', () => done(server));
    });
}

if (import.meta.url === pathToFileURL(process.argv[1]).href) {
    const [dir, port] = process.argv.slice(2);
    if (!dir) {
        console.error('usage: node web/serve.mjs DIR [PORT]');
        process.exit(2);
    }
    const server = await serve(dir, port === undefined ? 8080 : Number(port));
    console.log(`The GLIMMERON editor is at http://127.0.0.1:${server.address().port}/ (Ctrl+C ends)`);
}
