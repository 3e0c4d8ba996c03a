// Routes each API request by its function number, so that nginx can
// rate-limit logins (FN 0) alone: limit_req acts before the body is read and
// cannot see FN. js_content has read the whole body (in memory, see
// client_body_buffer_size) when route() runs.
//
// In doubt a request is a login. Only a body that parses and whose FN the
// program certainly reads as non-zero goes to @api: the program truncates a
// fraction and narrows to 32 bits (2^32 and 0.5 are FN 0), so FN must be a
// number with |FN| < 2^31 and a non-zero integer part. Bodies that do not
// parse go to @login, among them every body with a NUL byte (where the
// program cuts the text) and JSON nested deeper than njs parses. Duplicate
// members: JSON.parse and the program both keep the last.

function isSurelyNotLogin(r) {
    var fn;
    try {
        fn = JSON.parse(r.requestText).FN;
    } catch (e) {
        return false;
    }
    return typeof fn === 'number' && Math.abs(fn) < 2147483648 && Math.trunc(fn) !== 0;
}

function route(r) {
    r.internalRedirect(isSurelyNotLogin(r) ? '@api' : '@login');
}

export default { route };
