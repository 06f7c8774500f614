// What the browser tests share: the check of what they need, a tiny web server on 127.0.0.1
// and headless Chromium with software WebGL.
import { existsSync, mkdtempSync, readFile, rmSync } from 'node:fs';
import { createServer } from 'node:http';
import { tmpdir } from 'node:os';
import { dirname, extname, join, normalize, sep } from 'node:path';
import { fileURLToPath } from 'node:url';

export const ChromiumPath = '/usr/bin/chromium';
const Here = dirname(fileURLToPath(import.meta.url));

// Why the tests cannot run here, or null: Debian's chromium, the npm packages
// (tools/install-deps) and the web build (tools/make-web) are needed.
export function missingPrerequisites(builtFile) {
  if (!existsSync(ChromiumPath)) {
    return `no ${ChromiumPath} (Debian's chromium)`;
  }
  if (!existsSync(join(Here, 'node_modules', 'puppeteer-core'))) {
    return 'no puppeteer-core in tests/web/node_modules (tools/install-deps)';
  }
  if (!existsSync(builtFile)) {
    return `no ${builtFile} (tools/make-web)`;
  }
  return null;
}

const ContentTypes = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.wasm': 'application/wasm',
  '.png': 'image/png',
  '.replay': 'text/plain; charset=utf-8',
};

// Serves the files of `folder` and nothing above it, and the files of `extra` (URL path to
// file) besides; resolves to { url, close }.
export function serveFolder(folder, extra = {}) {
  const root = normalize(folder) + sep;
  const server = createServer((request, response) => {
    const wanted = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    const path = extra[wanted] ?? normalize(join(root, wanted));
    if (!(wanted in extra) && !path.startsWith(root)) {
      response.writeHead(403).end();
      return;
    }
    readFile(path, (error, body) => {
      if (error) {
        response.writeHead(404).end();
        return;
      }
      const type = ContentTypes[extname(path)] ?? 'application/octet-stream';
      response.writeHead(200, { 'Content-Type': type, 'Cache-Control': 'no-store' }).end(body);
    });
  });
  return new Promise((resolve) => {
    server.listen(0, '127.0.0.1', () => {
      resolve({ url: `http://127.0.0.1:${server.address().port}`, close: () => server.close() });
    });
  });
}

// Chromium headless with WebGL through SwiftShader, in a fresh profile; close() ends it and
// removes the profile. With `profile` it runs in that folder instead, which close() leaves for
// the next launch. Background networking is off: this machine's network is closed, and
// Chromium would otherwise keep trying to reach its services.
export async function launchBrowser({ profile: kept } = {}) {
  const { default: puppeteer } = await import('puppeteer-core');
  const profile = kept ?? mkdtempSync(join(tmpdir(), 'tumbra-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: ChromiumPath,
    headless: true,
    userDataDir: profile,
    args: [
      '--headless=new', '--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
      '--disable-quic', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync',
    ],
  });
  const close = async () => {
    await browser.close();
    if (kept === undefined) {
      rmSync(profile, { recursive: true, force: true, maxRetries: 5 });
    }
  };
  return { browser, close };
}
